# Checks of a build without OpenSSL. With LIBRARY: the static library references and defines no
# OpenSSL symbol. With SHARED_LIBRARY: the shared library (the JNI library) loads no OpenSSL.
# Otherwise: installs the build into a scratch prefix, checks that neither the
# CMake package nor sdkcore.pc asks for OpenSSL, and links the README's C example with what
# pkg-config says of the static library.
# Expects: LIBRARY, SHARED_LIBRARY, or BUILD_DIR, SOURCE_DIR, WORK_DIR, LIBDIR and C_COMPILER.
include(${CMAKE_CURRENT_LIST_DIR}/../support/run_command.cmake)

set(openssl_pattern "(EVP|OPENSSL|OSSL|RAND|ERR|BN|CRYPTO|RSA|PEM|X509|BIO)_[A-Za-z0-9_]+")

if(LIBRARY)
  run(nm -A ${LIBRARY})
  string(REGEX MATCHALL " [UTDBRW] ${openssl_pattern}" found "${last_output}")
  if(found)
    message(FATAL_ERROR "OpenSSL symbols in ${LIBRARY}: ${found}")
  endif()
  message(STATUS "no OpenSSL symbol in ${LIBRARY}")
  return()
endif()

if(SHARED_LIBRARY)
  run(ldd ${SHARED_LIBRARY})
  if(last_output MATCHES "libcrypto|libssl")
    message(FATAL_ERROR "${SHARED_LIBRARY} loads OpenSSL: ${last_output}")
  endif()
  return()
endif()

file(REMOVE_RECURSE ${WORK_DIR})
run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${WORK_DIR}/prefix)
file(GLOB_RECURSE package_files ${WORK_DIR}/prefix/${LIBDIR}/cmake/sdkcore/*.cmake
     ${WORK_DIR}/prefix/${LIBDIR}/pkgconfig/sdkcore.pc)
foreach(package_file IN LISTS package_files)
  file(READ ${package_file} text)
  if(text MATCHES "OpenSSL|libcrypto|-lcrypto")
    message(FATAL_ERROR "${package_file} asks for OpenSSL")
  endif()
endforeach()

set(ENV{PKG_CONFIG_PATH} ${WORK_DIR}/prefix/${LIBDIR}/pkgconfig)
run(pkg-config --static --cflags --libs sdkcore)
if(last_output MATCHES "-lcrypto|-lssl|libcrypto")
  message(FATAL_ERROR "pkg-config links OpenSSL: ${last_output}")
endif()
separate_arguments(pkg_flags UNIX_COMMAND "${last_output}")
run(${C_COMPILER} -std=c99 -Wall -Wextra -Wpedantic -Werror ${SOURCE_DIR}/examples/minimal.c
    -o ${WORK_DIR}/minimal_c ${pkg_flags})
run(ldd ${WORK_DIR}/minimal_c)
if(last_output MATCHES "libcrypto|libssl")
  message(FATAL_ERROR "the C consumer loads OpenSSL: ${last_output}")
endif()
message(STATUS "installed package links a C consumer without OpenSSL")
