# What both install tests check on an installed tree. Included by
# install_test.cmake and deb_test.cmake.

# Ends the test with `message` and, when given, a command's output.
function(lc_fail message)
    message(FATAL_ERROR "${message}\n${ARGN}")
endfunction()

# Runs a command; fails the test unless it exits with 0. Sets <prefix>_OUT
# (standard output) and <prefix>_ERR in the caller.
function(lc_run prefix)
    cmake_parse_arguments(PARSE_ARGV 1 arg "" "WORKING_DIRECTORY" "COMMAND")
    if(NOT arg_WORKING_DIRECTORY)
        set(arg_WORKING_DIRECTORY "${CMAKE_CURRENT_BINARY_DIR}")
    endif()
    execute_process(COMMAND ${arg_COMMAND} WORKING_DIRECTORY "${arg_WORKING_DIRECTORY}"
                    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 300)
    if(NOT rc STREQUAL "0")
        string(JOIN " " shown ${arg_COMMAND})
        lc_fail("`${shown}` in ${arg_WORKING_DIRECTORY} ended with ${rc}" "${out}${err}")
    endif()
    set(${prefix}_OUT "${out}" PARENT_SCOPE)
    set(${prefix}_ERR "${err}" PARENT_SCOPE)
endfunction()

# The value of `key` in the [Desktop Entry] group of a desktop entry.
function(lc_desktop_value file key result)
    file(STRINGS "${file}" lines ENCODING UTF-8)
    foreach(line IN LISTS lines)
        if(line MATCHES "^${key}=(.*)$")
            set(${result} "${CMAKE_MATCH_1}" PARENT_SCOPE)
            return()
        endif()
    endforeach()
    lc_fail("${file} has no ${key}=")
endfunction()

# Width, height and colour type of a PNG file, from its IHDR chunk.
function(lc_png_header file result)
    file(READ "${file}" header HEX LIMIT 26)
    if(NOT header MATCHES "^89504e470d0a1a0a0000000d49484452")
        lc_fail("${file} is no PNG image")
    endif()
    string(SUBSTRING "${header}" 32 8 width)
    string(SUBSTRING "${header}" 40 8 height)
    string(SUBSTRING "${header}" 50 2 colourType)
    math(EXPR width "0x${width}")
    math(EXPR height "0x${height}")
    set(${result} "${width}x${height} type ${colourType}" PARENT_SCOPE)
endfunction()

# Checks the installed tree under `root` for the prefix `prefix` it was
# installed for (the same unless installed with DESTDIR): exactly the
# expected files, the desktop entry pointing at the data folder, icons of
# their sizes, both validators content. Needs APP_ID, ICON_SIZES (comma
# separated), DESKTOP_FILE_VALIDATE, APPSTREAMCLI, SOURCE_DIR.
function(lc_check_tree root prefix)
    set(share "share")
    set(expected
        "bin/LineCodes" "bin/linecode"
        "${share}/linecodes/Data001.txt" "${share}/linecodes/001.wav"
        "${share}/linecodes/NRZ.wav" "${share}/linecodes/BIL.wav"
        "${share}/linecodes/CMI.wav" "${share}/linecodes/EP-1.wav"
        "${share}/applications/${APP_ID}.desktop"
        "${share}/metainfo/${APP_ID}.metainfo.xml"
        "${share}/icons/hicolor/scalable/apps/${APP_ID}.svg")
    string(REPLACE "," ";" sizes "${ICON_SIZES}")
    foreach(size IN LISTS sizes)
        list(APPEND expected "${share}/icons/hicolor/${size}x${size}/apps/${APP_ID}.png")
    endforeach()
    # Nothing more: no test program, no library of the build.
    file(GLOB_RECURSE installed RELATIVE "${root}${prefix}" "${root}${prefix}/*")
    list(SORT installed)
    list(SORT expected)
    if(NOT installed STREQUAL expected)
        string(REPLACE ";" "\n  " a "${installed}")
        string(REPLACE ";" "\n  " b "${expected}")
        lc_fail("The installed files under ${root}${prefix} are\n  ${a}\nbut should be\n  ${b}")
    endif()
    set(tree "${root}${prefix}")

    foreach(size IN LISTS sizes)
        lc_png_header("${tree}/${share}/icons/hicolor/${size}x${size}/apps/${APP_ID}.png" png)
        if(NOT png STREQUAL "${size}x${size} type 06")
            lc_fail("The ${size}x${size} icon is ${png}, not ${size}x${size} RGBA")
        endif()
    endforeach()

    # The entry starts the installed program in the installed data folder.
    set(entry "${tree}/${share}/applications/${APP_ID}.desktop")
    lc_desktop_value("${entry}" "Path" path)
    lc_desktop_value("${entry}" "Exec" exec)
    lc_desktop_value("${entry}" "TryExec" tryExec)
    lc_desktop_value("${entry}" "Icon" icon)
    if(NOT path STREQUAL "${prefix}/share/linecodes")
        lc_fail("Path=${path} in ${entry}; the data folder is ${prefix}/share/linecodes")
    endif()
    if(NOT exec STREQUAL "\"${prefix}/bin/LineCodes\"" OR
       NOT tryExec STREQUAL "${prefix}/bin/LineCodes")
        lc_fail("Exec=${exec}, TryExec=${tryExec} in ${entry}; the program is "
                "${prefix}/bin/LineCodes")
    endif()
    if(NOT icon STREQUAL "${APP_ID}")
        lc_fail("Icon=${icon} in ${entry}; the icons are named ${APP_ID}")
    endif()

    # A warning fails the test as an error does. The one hint expected is
    # that Education and Science are both main categories: the program
    # belongs to both menus.
    lc_run(validate COMMAND "${DESKTOP_FILE_VALIDATE}" "${entry}")
    string(REPLACE "${entry}: " "" remarks "${validate_OUT}${validate_ERR}")
    string(REGEX REPLACE "hint: value \"Education;Science;\" for key \"Categories\"[^\n]*\n?"
           "" unexpected "${remarks}")
    message(STATUS "desktop-file-validate: ${remarks}")
    if(NOT unexpected STREQUAL "")
        lc_fail("desktop-file-validate ${entry}:" "${remarks}")
    endif()
    set(metainfo "${tree}/${share}/metainfo/${APP_ID}.metainfo.xml")
    lc_run(appstream COMMAND "${APPSTREAMCLI}" validate --no-net "${metainfo}")
    message(STATUS "appstreamcli validate --no-net: ${appstream_OUT}")
    if(appstream_OUT MATCHES "(^|\n)[EW]: ")
        lc_fail("appstreamcli validate ${metainfo}:" "${appstream_OUT}")
    endif()
    # The screenshots are the repository's own.
    file(STRINGS "${metainfo}" images REGEX "<image")
    list(LENGTH images count)
    if(NOT count EQUAL 2)
        lc_fail("${metainfo} should show two screenshots, not ${count}")
    endif()
    foreach(image IN LISTS images)
        if(NOT image MATCHES "/docs/screenshots/([^/<]+)</image>"
           OR NOT EXISTS "${SOURCE_DIR}/docs/screenshots/${CMAKE_MATCH_1}")
            lc_fail("${image} names no file of docs/screenshots")
        endif()
    endforeach()
endfunction()
