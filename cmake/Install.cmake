# Installs headers, the three libraries, a CMake package and a pkg-config file.
include(CMakePackageConfigHelpers)

set(SNS_INSTALL_INCDIR ${CMAKE_INSTALL_INCLUDEDIR}/SensorController)
file(GLOB SNS_INSTALL_HEADERS include/*.h platform/include/*.h technic/public/*.h sim/include/*.h)
install(FILES ${SNS_INSTALL_HEADERS} DESTINATION ${SNS_INSTALL_INCDIR})

install(TARGETS sensordll pkbase ia_sim tinyxml_dep EXPORT SensorControllerTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  INCLUDES DESTINATION ${SNS_INSTALL_INCDIR})
install(EXPORT SensorControllerTargets NAMESPACE SensorController::
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/SensorController)

configure_package_config_file(cmake/SensorControllerConfig.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/SensorControllerConfig.cmake
  INSTALL_DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/SensorController)
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/SensorControllerConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/SensorControllerConfig.cmake
  ${CMAKE_CURRENT_BINARY_DIR}/SensorControllerConfigVersion.cmake
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/SensorController)

configure_file(cmake/sensorcontroller.pc.in ${CMAKE_CURRENT_BINARY_DIR}/sensorcontroller.pc @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/sensorcontroller.pc
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
