# Installs the libraries, the headers (the interface in
# include/SensorController, the PC kit's simulation hooks in its sim/ folder),
# a CMake package and two pkg-config files. Nothing installed names a path of
# the build machine: TinyXML is found again on the using side.
include(CMakePackageConfigHelpers)

set(SNS_INSTALL_INCDIR ${CMAKE_INSTALL_INCLUDEDIR}/SensorController)
file(GLOB SNS_INSTALL_HEADERS include/*.h platform/include/*.h technic/public/*.h)
install(FILES ${SNS_INSTALL_HEADERS} DESTINATION ${SNS_INSTALL_INCDIR})
file(GLOB SNS_INSTALL_SIM_HEADERS platform/include/sim/*.h sim/include/sim/*.h)
install(FILES ${SNS_INSTALL_SIM_HEADERS} DESTINATION ${SNS_INSTALL_INCDIR}/sim)

install(TARGETS sensordll pkbase ia_sim EXPORT SensorControllerTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR})
set(SNS_INSTALL_CMAKEDIR ${CMAKE_INSTALL_LIBDIR}/cmake/SensorController)
install(EXPORT SensorControllerTargets NAMESPACE SensorController:: DESTINATION ${SNS_INSTALL_CMAKEDIR})

configure_package_config_file(cmake/SensorControllerConfig.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/SensorControllerConfig.cmake
  INSTALL_DESTINATION ${SNS_INSTALL_CMAKEDIR})
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/SensorControllerConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/SensorControllerConfig.cmake
  ${CMAKE_CURRENT_BINARY_DIR}/SensorControllerConfigVersion.cmake cmake/FindTinyXML.cmake
  DESTINATION ${SNS_INSTALL_CMAKEDIR})

# pkg-config files find their prefix from their own place (${pcfiledir}), so
# the installed tree can be moved or put into a sysroot.
file(RELATIVE_PATH SNS_PC_TO_PREFIX "/prefix/${CMAKE_INSTALL_LIBDIR}/pkgconfig" "/prefix")
foreach(strPc sensorcontroller sensorcontroller-sim)
  configure_file(cmake/${strPc}.pc.in ${CMAKE_CURRENT_BINARY_DIR}/${strPc}.pc @ONLY)
  install(FILES ${CMAKE_CURRENT_BINARY_DIR}/${strPc}.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
endforeach()
