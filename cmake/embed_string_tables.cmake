# Writes a C++ source that holds a copy of every string table of the resource bundle, so the
# library keeps its texts when no bundle directory is found at run time.
#
#   cmake -DBUNDLE_DIR=<...>/SDKCore_SDKCore.bundle -DOUTPUT=<file.cpp> -P embed_string_tables.cmake
#
# Each "<language>.lproj/Localizable.json" must hold a JSON object; anything else fails the build.
cmake_minimum_required(VERSION 3.25)

if(NOT BUNDLE_DIR OR NOT OUTPUT)
  message(FATAL_ERROR "embed_string_tables.cmake needs BUNDLE_DIR and OUTPUT")
endif()

file(GLOB tables LIST_DIRECTORIES false "${BUNDLE_DIR}/*.lproj/Localizable.json")
list(SORT tables)
if(NOT tables)
  message(FATAL_ERROR "no string tables under ${BUNDLE_DIR}")
endif()

set(arrays "")
set(entries "")
set(index 0)
foreach(table IN LISTS tables)
  get_filename_component(language_dir "${table}" DIRECTORY)
  get_filename_component(language "${language_dir}" NAME_WE)
  file(READ "${table}" text)
  string(JSON type ERROR_VARIABLE json_error TYPE "${text}")
  if(json_error OR NOT type STREQUAL "OBJECT")
    message(FATAL_ERROR "${table} is not a JSON object: ${json_error}")
  endif()
  file(READ "${table}" hex HEX)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(APPEND arrays "const unsigned char kTable${index}[] = {\n    ${bytes}};\n")
  string(APPEND entries
    "    {\"${language}\", {reinterpret_cast<const char*>(kTable${index}), sizeof(kTable${index})}},\n")
  math(EXPR index "${index} + 1")
endforeach()

file(WRITE "${OUTPUT}" "// Generated at build time from the resource bundle's string tables. Do not edit.
#include \"l10n/embedded_string_tables.hpp\"

namespace sdkcore {
namespace {

${arrays}
const EmbeddedStringTable kTables[] = {
${entries}};

}  // namespace

std::span<const EmbeddedStringTable> embeddedStringTables() noexcept { return kTables; }

}  // namespace sdkcore
")
