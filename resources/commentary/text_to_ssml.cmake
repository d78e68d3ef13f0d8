# Turns one commentary text into the SSML that espeak-ng speaks.
#
#   cmake -DINPUT=CMI.txt -DOUTPUT=CMI.ssml
#         -DSENTENCE_PAUSE_MS=250 -DPARAGRAPH_PAUSE_MS=700 -P text_to_ssml.cmake
#
# Lines whose first non-blank character is "#" are notes for the reader and
# for the tests (the example line), so they are dropped. A blank line ends a
# paragraph: there the voice pauses longer, which is how a teacher marks the
# steps of an explanation without learning any markup. SSML is used only for
# these pauses; the text itself stays plain, so its own < > & are escaped.
# Stress corrections are written in the text as espeak-ng phoneme strings,
# [[...]], which espeak-ng also honours inside SSML.

cmake_minimum_required(VERSION 3.25)

foreach(var INPUT OUTPUT SENTENCE_PAUSE_MS PARAGRAPH_PAUSE_MS)
    if(NOT DEFINED ${var})
        message(FATAL_ERROR "text_to_ssml.cmake: ${var} is not set")
    endif()
endforeach()

# An editor on Windows may save the text with a byte-order mark and CR LF.
file(READ "${INPUT}" head LIMIT 3 HEX)
if(head STREQUAL "efbbbf")
    file(READ "${INPUT}" text OFFSET 3)
else()
    file(READ "${INPUT}" text)
endif()
string(REPLACE "\r\n" "\n" text "${text}")
string(REPLACE "\r" "\n" text "${text}")

# CMake's regular expressions have no multi-line mode: a leading newline lets
# every comment line, the first one included, be matched as "\n#...".
set(text "\n${text}")
string(REGEX REPLACE "\n[ \t]*#[^\n]*" "" text "${text}")

string(REPLACE "&" "&amp;" text "${text}")
string(REPLACE "<" "&lt;" text "${text}")
string(REPLACE ">" "&gt;" text "${text}")

string(STRIP "${text}" text)
if(text STREQUAL "")
    message(FATAL_ERROR "${INPUT}: nothing to speak once the # lines are dropped")
endif()

set(sentence_break "<break time=\"${SENTENCE_PAUSE_MS}ms\"/>")
set(paragraph_break "<break time=\"${PARAGRAPH_PAUSE_MS}ms\"/>")

# Blank lines (perhaps holding spaces) end a paragraph. The marker is a
# control character no text contains, so the sentence rule below cannot
# touch it.
string(ASCII 1 paragraph_mark)
string(REGEX REPLACE "\n[ \t]*\n[ \t\n]*" "${paragraph_mark}" text "${text}")
string(REPLACE "\n" " " text "${text}")
# A sentence ends at . ! ? (or an ellipsis) followed by a space or a quote
# and a space; a decimal point never does, since it has no space after it.
string(REGEX REPLACE "([.!?]+[»\"]?) +" "\\1${sentence_break} " text "${text}")
string(REPLACE "${paragraph_mark}" " ${paragraph_break}\n" text "${text}")

file(WRITE "${OUTPUT}" "<speak xml:lang=\"ru\">\n${text}\n</speak>\n")
