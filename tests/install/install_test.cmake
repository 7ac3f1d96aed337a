# Installs the built library into a scratch prefix, builds the README's C++ example as a separate
# project against the installed package and its C example with pkg-config, and runs both with a
# test key.
# Expects: BUILD_DIR, SOURCE_DIR, WORK_DIR, PUBLIC_KEY, GENERATOR, LIBDIR, and the library's own
# CXX_COMPILER, CXX_FLAGS, C_COMPILER, C_FLAGS and LINKER_FLAGS, so that a consumer of an
# instrumented build (sanitizers, coverage) links the runtime the library needs; in a cross
# build, its TOOLCHAIN_FILE, EMULATOR (a list) and PKG_CONFIG_LIBDIR.
file(REMOVE_RECURSE ${WORK_DIR})

include(${CMAKE_CURRENT_LIST_DIR}/../support/run_command.cmake)

run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${WORK_DIR}/prefix)
run(${CMAKE_COMMAND} -S ${SOURCE_DIR}/tests/install/consumer -B ${WORK_DIR}/build -G ${GENERATOR}
    -DCMAKE_PREFIX_PATH=${WORK_DIR}/prefix -DEXAMPLE_SOURCE=${SOURCE_DIR}/examples/minimal.cpp
    -DCMAKE_CXX_COMPILER=${CXX_COMPILER} "-DCMAKE_CXX_FLAGS=${CXX_FLAGS}"
    "-DCMAKE_EXE_LINKER_FLAGS=${LINKER_FLAGS}" -DCMAKE_TOOLCHAIN_FILE=${TOOLCHAIN_FILE})
run(${CMAKE_COMMAND} --build ${WORK_DIR}/build)

# Fails unless the program printed one token.
function(expect_token program)
  run(${EMULATOR} ${program} ${PUBLIC_KEY})
  string(STRIP "${last_output}" token)
  string(LENGTH "${token}" length)
  if(NOT length EQUAL 344)
    message(FATAL_ERROR "${program}: expected a 344-character token, got '${token}'")
  endif()
endfunction()
expect_token(${WORK_DIR}/build/minimal)

# The C example, compiled and linked by what pkg-config says of the static library.
set(ENV{PKG_CONFIG_PATH} ${WORK_DIR}/prefix/${LIBDIR}/pkgconfig)
if(PKG_CONFIG_LIBDIR)
  set(ENV{PKG_CONFIG_LIBDIR} ${PKG_CONFIG_LIBDIR})
endif()
run(pkg-config --static --cflags --libs sdkcore)
separate_arguments(pkg_flags UNIX_COMMAND "${last_output}")
separate_arguments(c_flags UNIX_COMMAND "${C_FLAGS} ${LINKER_FLAGS}")
run(${C_COMPILER} -std=c99 -Wall -Wextra -Wpedantic -Werror ${c_flags}
    ${SOURCE_DIR}/examples/minimal.c -o ${WORK_DIR}/minimal_c ${pkg_flags})
expect_token(${WORK_DIR}/minimal_c)
message(STATUS "installed package works from CMake and from pkg-config")
