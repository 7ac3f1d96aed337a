# Installs the built library into a scratch prefix, builds the Swift package against it (through
# pkg-config, Swift warnings as errors), runs its tests and the README's example.
# Expects: SWIFT, BUILD_DIR, PACKAGE_DIR, WORK_DIR, LIBDIR, DEMO_KEY_DIR, VALIDATOR_CASES.
include(${PACKAGE_DIR}/../../tests/support/run_command.cmake)

set(prefix ${WORK_DIR}/prefix)
set(scratch ${WORK_DIR}/scratch)
file(REMOVE_RECURSE ${prefix})
run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})
set(ENV{PKG_CONFIG_PATH} ${prefix}/${LIBDIR}/pkgconfig)
set(ENV{SDKCORE_DEMO_KEY_DIR} ${DEMO_KEY_DIR})
set(ENV{SDKCORE_VALIDATOR_CASES} ${VALIDATOR_CASES})

# The package manager does not see a changed static library: relink every program.
file(GLOB programs ${scratch}/*/debug/Example ${scratch}/*/debug/TokenCostBenchmark
     ${scratch}/*/debug/*.xctest)
if(programs)
  file(REMOVE_RECURSE ${programs})
endif()

set(swift_options --package-path ${PACKAGE_DIR} --scratch-path ${scratch})
run(${SWIFT} build ${swift_options} --build-tests -Xswiftc -warnings-as-errors)
# One test at a time: the resident-size test measures the whole process.
execute_process(COMMAND ${SWIFT} test ${swift_options} --skip-build --no-parallel RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "swift test failed (${rc})")
endif()

run(${scratch}/debug/Example ${DEMO_KEY_DIR}/demo_public.pem)
if(NOT last_output MATCHES "(^|\n)[A-Za-z0-9+/]+=*\n$")
  message(FATAL_ERROR "the Swift example printed no token:\n${last_output}")
endif()
