# Cross build for 32-bit ARM Linux (armhf), run under qemu-user: make test-armhf. Built, as on
# Android's 32-bit ARM, with the C library's 32-bit time_t (no _TIME_BITS=64).
set(SDKCORE_CROSS_TRIPLE arm-linux-gnueabihf)
set(SDKCORE_CROSS_PROCESSOR arm)
set(SDKCORE_CROSS_QEMU qemu-arm-static)
include(${CMAKE_CURRENT_LIST_DIR}/debian_cross.cmake)
