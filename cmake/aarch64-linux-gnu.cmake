# Cross build for 64-bit ARM Linux (arm64), run under qemu-user: make test-arm64.
set(SDKCORE_CROSS_TRIPLE aarch64-linux-gnu)
set(SDKCORE_CROSS_PROCESSOR aarch64)
set(SDKCORE_CROSS_QEMU qemu-aarch64-static)
include(${CMAKE_CURRENT_LIST_DIR}/debian_cross.cmake)
