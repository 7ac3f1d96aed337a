# Installs the library, its headers, a CMake package that `find_package(sdkcore)` finds and a
# pkg-config file.
include(CMakePackageConfigHelpers)

install(TARGETS sdkcore EXPORT sdkcoreTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/include/sdkcore DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(EXPORT sdkcoreTargets NAMESPACE sdkcore:: DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/sdkcore)

# A library built without OpenSSL names it nowhere in its package.
set(sdkcore_openssl_dependency "")
if(SDKCORE_WITH_OPENSSL)
  set(sdkcore_openssl_dependency "find_dependency(OpenSSL 3.0)")
endif()
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/sdkcoreConfig.cmake.in
  ${PROJECT_BINARY_DIR}/sdkcoreConfig.cmake
  INSTALL_DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/sdkcore)
write_basic_package_version_file(${PROJECT_BINARY_DIR}/sdkcoreConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/sdkcoreConfig.cmake ${PROJECT_BINARY_DIR}/sdkcoreConfigVersion.cmake
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/sdkcore)

# The library's resource bundle; the library finds it at <prefix>/share/sdkcore relative to its
# own directory.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/resources/SDKCore_SDKCore.bundle
  DESTINATION ${CMAKE_INSTALL_DATADIR}/sdkcore)

# pkg-config: `pkg-config --cflags --libs sdkcore`, with --static for the static library.
file(RELATIVE_PATH sdkcore_pc_to_prefix ${CMAKE_INSTALL_FULL_LIBDIR}/pkgconfig
     ${CMAKE_INSTALL_PREFIX})
string(REGEX REPLACE "/$" "" sdkcore_pc_to_prefix "${sdkcore_pc_to_prefix}")
set(sdkcore_pc_openssl "")
if(SDKCORE_WITH_OPENSSL)
  set(sdkcore_pc_openssl "Requires.private: libcrypto")
endif()
configure_file(${PROJECT_SOURCE_DIR}/cmake/sdkcore.pc.in ${PROJECT_BINARY_DIR}/sdkcore.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/sdkcore.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

# What `make install` builds before installing: the library and its resource bundle, and the Java
# binding's jar and JNI library when it is built.
add_custom_target(sdkcore_installable)
add_dependencies(sdkcore_installable sdkcore)
if(TARGET sdkcore_jni)
  add_dependencies(sdkcore_installable sdkcore_jni sdkcore_java)
endif()
