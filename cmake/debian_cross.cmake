# Shared part of the Debian cross toolchain files: the caller sets SDKCORE_CROSS_TRIPLE (the
# multiarch triple), SDKCORE_CROSS_PROCESSOR and SDKCORE_CROSS_QEMU. Builds with Debian's cross
# compiler against the target's multiarch libraries (dpkg --add-architecture, then the :arch
# -dev packages; scripts/install-deps.sh arm64|armhf) and runs target programs under qemu-user.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR ${SDKCORE_CROSS_PROCESSOR})
set(CMAKE_C_COMPILER ${SDKCORE_CROSS_TRIPLE}-gcc)
set(CMAKE_CXX_COMPILER ${SDKCORE_CROSS_TRIPLE}-g++)
set(CMAKE_LIBRARY_ARCHITECTURE ${SDKCORE_CROSS_TRIPLE})
set(CMAKE_FIND_ROOT_PATH /usr/${SDKCORE_CROSS_TRIPLE} /)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE BOTH)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)
# No -L prefix: target programs run with the multiarch package's dynamic loader
# (/lib/ld-linux-*.so.*), which finds the multiarch libraries, C library included, through the
# loader cache. Prefixing /usr/<triple> would pair the cross toolchain's loader with the multiarch
# C library, two builds of it that differ in their private structures, and the first thread a
# program starts then hangs or crashes.
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/bin/${SDKCORE_CROSS_QEMU})
set(ENV{PKG_CONFIG_LIBDIR} /usr/lib/${SDKCORE_CROSS_TRIPLE}/pkgconfig:/usr/share/pkgconfig)
# Target-specific binutils, for the size report and the page alignment check.
set(CMAKE_STRIP ${SDKCORE_CROSS_TRIPLE}-strip)
