# Builds a host program as an app's release build would: compiles it against the jar, shrinks and
# obfuscates it together with the jar with ProGuard, given only the rules the jar carries under
# META-INF/proguard/ and the few lines every app's configuration has, then runs the shrunk program
# on the JNI library. It passes when the program exits with 0 and its output matches EXPECT.
#
#   cmake -DJAVA=... -DJAVAC=... -DPROGUARD=... -DSDKCORE_JAR=... -DLIBRARY_JAR=...
#         -DJNI_DIR=... -DSOURCE=Host.java -DPROGRAM_ARG=... -DEXPECT=regex -DWORK_DIR=...
#         -P shrink_and_run.cmake
#
# LIBRARY_JAR holds the JDK's classes for ProGuard's library path (-libraryjars); the program's
# main class is named after SOURCE.
foreach(variable JAVA JAVAC PROGUARD SDKCORE_JAR LIBRARY_JAR JNI_DIR SOURCE PROGRAM_ARG EXPECT
                 WORK_DIR)
  if(NOT DEFINED ${variable})
    message(FATAL_ERROR "shrink_and_run: ${variable} is not set")
  endif()
endforeach()
# ProGuard reads the paths in its configuration relative to the configuration file.
foreach(variable SDKCORE_JAR LIBRARY_JAR JNI_DIR SOURCE PROGRAM_ARG WORK_DIR)
  cmake_path(ABSOLUTE_PATH ${variable} NORMALIZE)
endforeach()
cmake_path(GET SOURCE STEM main_class)
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR}/classes)

# The consumer rules, read from the jar as an app's shrinker reads them.
file(ARCHIVE_EXTRACT INPUT ${SDKCORE_JAR} DESTINATION ${WORK_DIR}/jar
                     PATTERNS "META-INF/proguard/*")
file(GLOB rule_files ${WORK_DIR}/jar/META-INF/proguard/*)
if(NOT rule_files)
  message(FATAL_ERROR "shrink_and_run: ${SDKCORE_JAR} has no rules under META-INF/proguard/")
endif()

# Java 8 class files, as the jar's own.
execute_process(COMMAND ${JAVAC} --release 8 -encoding UTF-8 -nowarn -cp ${SDKCORE_JAR}
                        -d ${WORK_DIR}/classes ${SOURCE}
                RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "shrink_and_run: javac failed on ${SOURCE}")
endif()

# An app's own part of the configuration: its code and libraries, and its entry point. Shrinking,
# optimisation and obfuscation stay on, as ProGuard has them by default.
set(configuration "-injars \"${WORK_DIR}/classes\"
-injars \"${SDKCORE_JAR}\"
-outjars \"${WORK_DIR}/shrunk.jar\"
-libraryjars \"${LIBRARY_JAR}\"
-keep public class ${main_class} { public static void main(java.lang.String[]); }
-printmapping \"${WORK_DIR}/mapping.txt\"
")
foreach(rule_file IN LISTS rule_files)
  string(APPEND configuration "-include \"${rule_file}\"\n")
endforeach()
file(WRITE ${WORK_DIR}/app.pro "${configuration}")
execute_process(COMMAND ${PROGUARD} @${WORK_DIR}/app.pro
                RESULT_VARIABLE status OUTPUT_VARIABLE proguard_output
                ERROR_VARIABLE proguard_output)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "shrink_and_run: ProGuard failed:\n${proguard_output}")
endif()

# The rules keep what the JNI library needs, not the whole API: the entry class was renamed, and a
# class the program never uses is gone.
file(READ ${WORK_DIR}/mapping.txt mapping)
string(PREPEND mapping "\n")
if(NOT mapping MATCHES "\norg\\.sdkcore\\.SdkCore -> ([^\n]*):\n"
   OR CMAKE_MATCH_1 STREQUAL "org.sdkcore.SdkCore")
  message(FATAL_ERROR "shrink_and_run: org.sdkcore.SdkCore was not renamed:\n${mapping}")
endif()
if(mapping MATCHES "\norg\\.sdkcore\\.Base58 -> ")
  message(FATAL_ERROR "shrink_and_run: org.sdkcore.Base58, which the program never uses, was kept")
endif()

execute_process(COMMAND ${JAVA} -Xcheck:jni -Djava.library.path=${JNI_DIR}
                        -cp ${WORK_DIR}/shrunk.jar ${main_class} ${PROGRAM_ARG}
                RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE errors)
message("${main_class}, shrunk: exit status ${status}\n-- standard output:\n${output}"
        "-- standard error:\n${errors}")
string(STRIP "${output}" output)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "shrink_and_run: the shrunk ${main_class} failed")
endif()
if(NOT output MATCHES "${EXPECT}")
  message(FATAL_ERROR "shrink_and_run: the output of the shrunk ${main_class} does not match "
                      "'${EXPECT}'")
endif()
