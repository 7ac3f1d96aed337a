# The committed sources that are derived from other files of the repository, which every build
# (CMake's and the Swift package's) compiles as they are:
#   include/sdkcore/version.h              from cmake/version.h.in and the project version in
#                                          CMakeLists.txt
#   src/l10n/embedded_string_tables.cpp    from the string tables of
#                                          resources/SDKCore_SDKCore.bundle
#
#   cmake -P cmake/generated_sources.cmake               fails when a committed copy differs from
#                                                        what its generator writes
#   cmake -DUPDATE=ON -P cmake/generated_sources.cmake   rewrites the committed copies
#                                                        (`make generated-sources`)
#
# WORK_DIR (default: a directory under the system's temporary directory) receives the fresh copies.
cmake_minimum_required(VERSION 3.25)

get_filename_component(source_dir "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
if(NOT WORK_DIR)
  set(WORK_DIR "$ENV{TMPDIR}")
  if(NOT WORK_DIR)
    set(WORK_DIR /tmp)
  endif()
  string(RANDOM LENGTH 8 suffix)
  set(WORK_DIR "${WORK_DIR}/sdkcore-generated-${suffix}")
  set(remove_work_dir ON)
endif()
file(MAKE_DIRECTORY "${WORK_DIR}")

# The project version, as project() in CMakeLists.txt declares it.
file(STRINGS "${source_dir}/CMakeLists.txt" project_line REGEX "^project\\(sdkcore VERSION ")
if(NOT project_line MATCHES "VERSION ([0-9]+)\\.([0-9]+)\\.([0-9]+)")
  message(FATAL_ERROR "no project version in ${source_dir}/CMakeLists.txt")
endif()
set(PROJECT_VERSION_MAJOR ${CMAKE_MATCH_1})
set(PROJECT_VERSION_MINOR ${CMAKE_MATCH_2})
set(PROJECT_VERSION_PATCH ${CMAKE_MATCH_3})
set(PROJECT_VERSION ${CMAKE_MATCH_1}.${CMAKE_MATCH_2}.${CMAKE_MATCH_3})
configure_file("${source_dir}/cmake/version.h.in" "${WORK_DIR}/version.h" @ONLY)

execute_process(
  COMMAND ${CMAKE_COMMAND} -DBUNDLE_DIR=${source_dir}/resources/SDKCore_SDKCore.bundle
          -DOUTPUT=${WORK_DIR}/embedded_string_tables.cpp
          -P ${source_dir}/cmake/embed_string_tables.cmake
  RESULT_VARIABLE embed_result)
if(NOT embed_result EQUAL 0)
  message(FATAL_ERROR "embedding the string tables failed")
endif()

set(stale "")
foreach(pair IN ITEMS "version.h:include/sdkcore/version.h"
                      "embedded_string_tables.cpp:src/l10n/embedded_string_tables.cpp")
  string(REPLACE ":" ";" pair "${pair}")
  list(GET pair 0 fresh)
  list(GET pair 1 committed)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files "${WORK_DIR}/${fresh}"
                          "${source_dir}/${committed}"
                  RESULT_VARIABLE differs OUTPUT_QUIET ERROR_QUIET)
  if(NOT differs EQUAL 0)
    if(UPDATE)
      file(COPY_FILE "${WORK_DIR}/${fresh}" "${source_dir}/${committed}")
      message(STATUS "rewrote ${committed}")
    else()
      string(APPEND stale "  ${committed}\n")
    endif()
  endif()
endforeach()
if(remove_work_dir)
  file(REMOVE_RECURSE "${WORK_DIR}")
endif()

if(stale)
  message(FATAL_ERROR "these committed sources differ from what their generators write (run "
                      "`make generated-sources` and commit the result):\n${stale}")
endif()
