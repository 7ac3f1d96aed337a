# Checks that the README's C example is an excerpt of examples/minimal.c, which the tests compile
# and run, line for line (indentation aside).
# Expects: README, EXAMPLE.
file(READ ${README} readme)
file(READ ${EXAMPLE} example)
string(REGEX MATCH "```c\n([^`]*)```" block "${readme}")
if(NOT block)
  message(FATAL_ERROR "no C example in ${README}")
endif()
set(excerpt "${CMAKE_MATCH_1}")
foreach(text IN ITEMS excerpt example)
  string(REGEX REPLACE "\n[ ]+" "\n" ${text} "\n${${text}}")
endforeach()
string(FIND "${example}" "${excerpt}" at)
if(at EQUAL -1)
  message(FATAL_ERROR "the README's C example is not an excerpt of ${EXAMPLE}")
endif()
