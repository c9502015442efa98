# Cross build for the camera's CPU: 32-bit ARM Cortex-A7 with NEON and hard
# float, using Debian's cross compilers and its multiarch (armhf) libraries.
#   cmake -S . -B build-armhf -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-armhf.cmake
# A camera vendor's SDK brings its own toolchain file; pass that one instead.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR arm)

set(SNS_ARMHF_TRIPLET arm-linux-gnueabihf)
set(CMAKE_C_COMPILER ${SNS_ARMHF_TRIPLET}-gcc)
set(CMAKE_CXX_COMPILER ${SNS_ARMHF_TRIPLET}-g++)
set(CMAKE_C_FLAGS_INIT "-mcpu=cortex-a7 -mfpu=neon-vfpv4 -mfloat-abi=hard")
set(CMAKE_CXX_FLAGS_INIT "-mcpu=cortex-a7 -mfpu=neon-vfpv4 -mfloat-abi=hard")

# Multiarch: armhf libraries live in /usr/lib/arm-linux-gnueabihf (TinyXML,
# GoogleTest and their CMake packages), the cross toolchain's own runtime in
# /usr/arm-linux-gnueabihf. Host programs (the emulator) are searched as usual.
set(CMAKE_LIBRARY_ARCHITECTURE ${SNS_ARMHF_TRIPLET})
set(CMAKE_FIND_ROOT_PATH /usr/${SNS_ARMHF_TRIPLET} /)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Tests and test discovery run under user-mode emulation. The loader comes
# from the cross toolchain's tree (-L), so its C and C++ runtime must come from
# there too: the multiarch libc beside it may be of another Debian revision,
# and a loader and libc of different builds crash at the first thread.
find_program(SNS_QEMU_ARM qemu-arm)
if(NOT SNS_QEMU_ARM)
  set(SNS_QEMU_ARM qemu-arm)
endif()
set(CMAKE_CROSSCOMPILING_EMULATOR ${SNS_QEMU_ARM} -L /usr/${SNS_ARMHF_TRIPLET}
  -E LD_LIBRARY_PATH=/usr/${SNS_ARMHF_TRIPLET}/lib)
