# Which ICU the library links, and its data.
#
# SDKCORE_ICU_DATA=trimmed links, in place of libicudata (31 MB), a data package cut at build time
# from the system's own ICU data that holds only the items the library opens (the character break
# rules, about 15 KB): a static library that defines ICU's data symbol (icudt<major>_dat). With a
# shared ICU, the program's definition takes precedence over libicudata's.
# SDKCORE_ICU_STATIC links ICU's static libraries, as an app does (the phone preset).
set(SDKCORE_ICU_DATA system CACHE STRING
    "ICU data: system (libicudata, all of it) or trimmed (only the items the library opens)")
set_property(CACHE SDKCORE_ICU_DATA PROPERTY STRINGS system trimmed)
option(SDKCORE_ICU_STATIC "Link ICU's static libraries instead of its shared ones" OFF)

# The ICU data items the library opens. A new use of ICU data fails the suite of a trimmed build
# until its item is listed here.
set(SDKCORE_ICU_DATA_ITEMS brkitr/char.brk brkitr/root.res)

string(REGEX MATCH "^[0-9]+" sdkcore_icu_major "${ICU_VERSION}")
find_library(SDKCORE_ICU_DATA_LIBRARY NAMES icudata
             DOC "libicudata, whose data the trimmed packages are cut from")
find_program(SDKCORE_ICUPKG icupkg PATHS /usr/sbin)
find_program(SDKCORE_GENCCODE genccode PATHS /usr/sbin)

# sdkcore_icu_data_package(TARGET STATIC|OBJECT [ITEM...]) adds a library that defines ICU's data
# symbol with a package of the given items only (none: an empty package, as if the data were
# missing). A STATIC one gives way to another definition linked before it.
function(sdkcore_icu_data_package target kind)
  if(NOT SDKCORE_ICUPKG OR NOT SDKCORE_GENCCODE)
    message(FATAL_ERROR "sdkcore: ICU data packages need icupkg and genccode "
                        "(Debian: icu-devtools; scripts/install-deps.sh phone)")
  endif()
  set(assembly ${CMAKE_CURRENT_BINARY_DIR}/${target}.S)
  set(script ${PROJECT_SOURCE_DIR}/cmake/icu_data_package.sh)
  add_custom_command(
    OUTPUT ${assembly}
    COMMAND ${CMAKE_COMMAND} -E env PATH=$<PATH:GET_PARENT_PATH,${SDKCORE_ICUPKG}>:$ENV{PATH}
            sh ${script} ${SDKCORE_ICU_DATA_LIBRARY} icudt${sdkcore_icu_major} ${assembly} ${ARGN}
    DEPENDS ${script} ${SDKCORE_ICU_DATA_LIBRARY}
    COMMENT "Cutting the ICU data package ${target} (${ARGN})"
    VERBATIM)
  add_library(${target} ${kind} ${assembly})
endfunction()

if(SDKCORE_ICU_DATA STREQUAL "trimmed" OR SDKCORE_BUILD_TESTS)
  enable_language(ASM)
endif()

if(SDKCORE_ICU_STATIC)
  foreach(component uc i18n)
    find_library(SDKCORE_ICU_${component}_ARCHIVE NAMES libicu${component}.a REQUIRED)
    set_target_properties(ICU::${component} PROPERTIES
      IMPORTED_LOCATION ${SDKCORE_ICU_${component}_ARCHIVE})
  endforeach()
  find_package(Threads REQUIRED)
  set_property(TARGET ICU::i18n APPEND PROPERTY INTERFACE_LINK_LIBRARIES ICU::uc)
  set_property(TARGET ICU::uc APPEND PROPERTY INTERFACE_LINK_LIBRARIES
               ${CMAKE_DL_LIBS} Threads::Threads m)
  if(NOT SDKCORE_ICU_DATA STREQUAL "trimmed")
    find_library(SDKCORE_ICU_data_ARCHIVE NAMES libicudata.a REQUIRED)
    set_property(TARGET ICU::uc APPEND PROPERTY INTERFACE_LINK_LIBRARIES
                 ${SDKCORE_ICU_data_ARCHIVE})
  endif()
endif()

if(SDKCORE_ICU_DATA STREQUAL "trimmed")
  sdkcore_icu_data_package(sdkcore_icu_data STATIC ${SDKCORE_ICU_DATA_ITEMS})
  set_property(TARGET ICU::uc APPEND PROPERTY INTERFACE_LINK_LIBRARIES
               $<BUILD_INTERFACE:sdkcore_icu_data>)
elseif(NOT SDKCORE_ICU_DATA STREQUAL "system")
  message(FATAL_ERROR "sdkcore: SDKCORE_ICU_DATA is system or trimmed, not '${SDKCORE_ICU_DATA}'")
endif()
