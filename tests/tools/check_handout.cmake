# Generates the printed guide with the build's own `linecode handout` and
# reads it back: the number of pages, the page numbers printed on them, every
# section title in the text layer, and every font embedded.
#
#   cmake -DLINECODE=... -DOUTPUT=....pdf -DPDFINFO=... -DPDFTOTEXT=...
#         -DPDFFONTS=... -P check_handout.cmake

set(sections
    "1. Цель работы"
    "2. Краткие теоретические сведения"
    "3. Сравнение линейных кодов"
    "4. Расчётные и измеренные спектры"
    "5. Порядок выполнения работы"
    "6. Содержание отчёта"
    "7. Контрольные вопросы"
    "8. Литература")
# The guide runs to some twenty pages; far fewer or far more means the
# layout or the content has gone wrong.
set(least_pages 15)
set(most_pages 26)

file(REMOVE "${OUTPUT}")
execute_process(COMMAND "${LINECODE}" handout -o "${OUTPUT}"
                RESULT_VARIABLE status OUTPUT_VARIABLE said ERROR_VARIABLE complaint)
if(NOT status EQUAL 0 OR NOT EXISTS "${OUTPUT}")
    message(FATAL_ERROR "linecode handout failed (${status}): ${complaint}")
endif()

execute_process(COMMAND "${PDFINFO}" "${OUTPUT}" OUTPUT_VARIABLE info RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR NOT info MATCHES "Pages: +([0-9]+)")
    message(FATAL_ERROR "pdfinfo cannot read the guide:\n${info}")
endif()
set(pages ${CMAKE_MATCH_1})
if(pages LESS least_pages OR pages GREATER most_pages)
    message(FATAL_ERROR "the guide has ${pages} pages, expected ${least_pages} to ${most_pages}")
endif()
if(NOT info MATCHES "Page size: +595[.0-9]* x 84[12][.0-9]* pts \\(A4\\)")
    message(FATAL_ERROR "the guide is not A4:\n${info}")
endif()
if(NOT said MATCHES ": ${pages} pages")
    message(FATAL_ERROR "linecode reported \"${said}\" for ${pages} pages")
endif()

execute_process(COMMAND "${PDFTOTEXT}" -enc UTF-8 "${OUTPUT}" -
                OUTPUT_VARIABLE text RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "pdftotext failed on the guide")
endif()
foreach(title IN LISTS sections)
    string(FIND "${text}" "${title}" at)
    if(at LESS 0)
        message(FATAL_ERROR "the guide's text has no section \"${title}\"")
    endif()
endforeach()

# Every page but the title page carries its number as its last line.
foreach(page RANGE 2 ${pages})
    execute_process(COMMAND "${PDFTOTEXT}" -layout -enc UTF-8 -f ${page} -l ${page} "${OUTPUT}" -
                    OUTPUT_VARIABLE one)
    string(STRIP "${one}" one)
    if(NOT one MATCHES "(^|\n) *${page}$")
        message(FATAL_ERROR "page ${page} does not end with its number")
    endif()
endforeach()

execute_process(COMMAND "${PDFFONTS}" "${OUTPUT}" OUTPUT_VARIABLE fonts)
string(REPLACE "\n" ";" rows "${fonts}")
list(LENGTH rows count)
if(count LESS 3)
    message(FATAL_ERROR "the guide names no fonts:\n${fonts}")
endif()
list(SUBLIST rows 2 -1 rows)
foreach(row IN LISTS rows)
    if(row STREQUAL "")
        continue()
    endif()
    if(NOT row MATCHES " yes +(yes|no) +(yes|no) +[0-9]+ +[0-9]+ *$")
        message(FATAL_ERROR "a font is not embedded:\n${row}")
    endif()
endforeach()
message(STATUS "the guide: ${pages} pages, ${count} font lines, every section found")
