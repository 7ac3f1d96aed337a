# Fails when a source file includes a header of a subsystem it must not depend on. The internal
# folders form a one-way order: base and unicode below everything, text, json and l10n below the
# card model, the log and the entry points; the command-line program uses the public headers only.
# Run with -DSOURCE_DIR=<project root>.

# One rule a line: "<folder>:<folders its files must not include, separated by commas>".
set(rules
  "src/base:text,json,l10n,card,log,entry,cryptogram,validation,brand,capi"
  "src/unicode:base,text,json,l10n,card,log,entry,cryptogram,validation,brand,capi"
  "src/text:card,log,entry"
  "src/json:card,log,entry"
  "src/l10n:card,log,entry"
  "cli:base,text,json,l10n,card,log,entry,cryptogram,validation,brand,capi")

set(violations "")
foreach(rule IN LISTS rules)
  string(REPLACE ":" ";" parts "${rule}")
  list(GET parts 0 folder)
  list(GET parts 1 forbidden)
  string(REPLACE "," "|" forbidden "${forbidden}")
  file(GLOB_RECURSE sources ${SOURCE_DIR}/${folder}/*.hpp ${SOURCE_DIR}/${folder}/*.cpp)
  if(NOT sources)
    message(FATAL_ERROR "no sources under ${folder}: the rule table is out of date")
  endif()
  foreach(source IN LISTS sources)
    file(STRINGS ${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"(${forbidden})/")
    foreach(line IN LISTS includes)
      file(RELATIVE_PATH shown ${SOURCE_DIR} ${source})
      string(APPEND violations "  ${shown}: ${line}\n")
    endforeach()
  endforeach()
endforeach()

if(violations)
  message(FATAL_ERROR "includes against the subsystem order:\n${violations}")
endif()
