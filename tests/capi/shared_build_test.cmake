# Configures the shared library in a build directory of its own, builds it with the C interface's
# tests (and nothing else) and runs them there: the C program against the shared library and the
# export check.
# Expects: SOURCE_DIR, WORK_DIR, GENERATOR, BUILD_TYPE, C_COMPILER, CXX_COMPILER, and the
# library's own C_FLAGS, CXX_FLAGS, the flags of its build type (C_TYPE_FLAGS, CXX_TYPE_FLAGS),
# LINKER_FLAGS and compiler LAUNCHER (may be empty); in a cross build its TOOLCHAIN_FILE.
include(${CMAKE_CURRENT_LIST_DIR}/../support/run_command.cmake)
string(TOUPPER "${BUILD_TYPE}" type)

run(${CMAKE_COMMAND} -S ${SOURCE_DIR} -B ${WORK_DIR} -G ${GENERATOR}
    -DBUILD_SHARED_LIBS=ON -DSDKCORE_INSTALL=OFF -DSDKCORE_BUILD_BENCHMARKS=OFF
    -DSDKCORE_BUILD_CLI=OFF -DSDKCORE_BUILD_JAVA=OFF -DSDKCORE_BUILD_SWIFT=OFF
    -DCMAKE_BUILD_TYPE=${BUILD_TYPE}
    -DCMAKE_C_COMPILER=${C_COMPILER} -DCMAKE_CXX_COMPILER=${CXX_COMPILER}
    "-DCMAKE_C_FLAGS=${C_FLAGS}" "-DCMAKE_CXX_FLAGS=${CXX_FLAGS}"
    "-DCMAKE_C_FLAGS_${type}=${C_TYPE_FLAGS}" "-DCMAKE_CXX_FLAGS_${type}=${CXX_TYPE_FLAGS}"
    "-DCMAKE_EXE_LINKER_FLAGS=${LINKER_FLAGS}" "-DCMAKE_SHARED_LINKER_FLAGS=${LINKER_FLAGS}"
    "-DCMAKE_C_COMPILER_LAUNCHER=${LAUNCHER}" "-DCMAKE_CXX_COMPILER_LAUNCHER=${LAUNCHER}"
    -DCMAKE_TOOLCHAIN_FILE=${TOOLCHAIN_FILE})
run(${CMAKE_COMMAND} --build ${WORK_DIR})
run(${CMAKE_CTEST_COMMAND} --test-dir ${WORK_DIR} --output-on-failure)
message(STATUS "${last_output}")
