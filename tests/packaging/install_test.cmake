# `cmake --install` of the build into throwaway prefixes, checked as an
# administrator and a student would meet the result: the files in place,
# the desktop entry and the metainfo accepted by their validators, the
# program started as the entry starts it, the command-line tool run.
#
# cmake -DBUILD_DIR=… -DSOURCE_DIR=… -DWORK_DIR=… -DAPP_ID=… -DICON_SIZES=16,22,…
#       -DDESKTOP_FILE_VALIDATE=… -DAPPSTREAMCLI=… -DICONV=… -P install_test.cmake

include("${CMAKE_CURRENT_LIST_DIR}/checks.cmake")
file(REMOVE_RECURSE "${WORK_DIR}")

# A lab machine's folders may have spaces and Cyrillic letters in them.
set(prefix "${WORK_DIR}/установка prefix")
lc_run(install COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${prefix}")
lc_check_tree("" "${prefix}")

# Started as the desktop entry starts it, the program finds its files and
# shows the information text: the file's own first line.
lc_desktop_value("${prefix}/share/applications/${APP_ID}.desktop" "Path" path)
lc_run(text COMMAND "${ICONV}" -f CP1251 -t UTF-8 "${SOURCE_DIR}/resources/Data001.txt")
string(REGEX MATCH "^[^\r\n]*" firstLine "${text_OUT}")
if(firstLine STREQUAL "")
    lc_fail("resources/Data001.txt starts with an empty line; the check needs text")
endif()
set(program "${prefix}/bin/LineCodes")
lc_run(check COMMAND "${CMAKE_COMMAND}" -E env QT_QPA_PLATFORM=offscreen
                     "${program}" --self-check
             WORKING_DIRECTORY "${path}")
if(NOT check_OUT STREQUAL "${firstLine}\n")
    lc_fail("LineCodes --self-check in ${path} printed \"${check_OUT}\", not the first "
            "line of Data001.txt, \"${firstLine}\"" "${check_ERR}")
endif()

# Started anywhere else it cannot: the check above depends on Path=.
execute_process(COMMAND "${CMAKE_COMMAND}" -E env QT_QPA_PLATFORM=offscreen
                        "${program}" --self-check
                WORKING_DIRECTORY "${prefix}/bin" RESULT_VARIABLE rc
                OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 120)
string(FIND "${out}" "${firstLine}" shown)
if(rc STREQUAL "0" OR NOT shown EQUAL -1)
    lc_fail("LineCodes --self-check in ${prefix}/bin, away from its files, ended with "
            "${rc} and printed \"${out}\"" "${err}")
endif()

lc_run(help COMMAND "${prefix}/bin/linecode" --help WORKING_DIRECTORY "${prefix}/bin")
if(NOT help_OUT MATCHES "^Usage: linecode ")
    lc_fail("linecode --help printed no usage" "${help_OUT}${help_ERR}")
endif()

# A staged install (as packagers and cpack make it): the files go below
# DESTDIR, the entry names the prefix the files will be found at.
set(stage "${WORK_DIR}/stage")
set(ENV{DESTDIR} "${stage}")
lc_run(staged COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "/opt/linecodes/")
unset(ENV{DESTDIR})
lc_check_tree("${stage}" "/opt/linecodes")

# A prefix whose name Exec= cannot carry is refused with a reason.
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}"
                        --prefix "${WORK_DIR}/price $5"
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(rc STREQUAL "0" OR NOT err MATCHES "cannot carry safely")
    lc_fail("The install to \"${WORK_DIR}/price $5\" ended with ${rc}" "${out}${err}")
endif()
if(EXISTS "${WORK_DIR}/price $5/share/applications/${APP_ID}.desktop")
    lc_fail("A desktop entry was written for a prefix that was refused")
endif()

file(REMOVE_RECURSE "${WORK_DIR}")
