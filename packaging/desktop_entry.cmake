# Run by `cmake --install` (and by cpack): writes the desktop entry for the
# prefix being installed to and installs it. The program reads its files by
# bare name from the folder it starts in, so the entry's Path= must name the
# installed data folder, and only the install step knows the prefix: a
# --prefix given there overrides the one the build was configured with.
#
# Set by the includer: LC_DESKTOP_TEMPLATE, LC_DESKTOP_STAGE (a build folder
# to write into), LC_APP_ID, LC_INSTALL_BINDIR, LC_INSTALL_DATA_DIR,
# LC_INSTALL_APPLICATIONS_DIR (the last three relative to the prefix).

set(lc_prefix "${CMAKE_INSTALL_PREFIX}")
if(NOT IS_ABSOLUTE "${lc_prefix}")
    message(FATAL_ERROR "The install prefix \"${lc_prefix}\" is not an absolute path; "
                        "a desktop entry cannot name a relative one.")
endif()
# Exec= quotes the program's path; these characters would need escapes that
# desktop environments do not agree on, so refuse them instead of writing an
# entry that starts nothing.
if(lc_prefix MATCHES "[\"`$%\\\\\n\r\t]")
    message(FATAL_ERROR "The install prefix \"${lc_prefix}\" holds a character that a "
                        "desktop entry's Exec= cannot carry safely (\" ` $ % \\ or a control "
                        "character); install to another folder.")
endif()

cmake_path(APPEND lc_prefix "${LC_INSTALL_BINDIR}" "LineCodes" OUTPUT_VARIABLE lc_program)
cmake_path(APPEND lc_prefix "${LC_INSTALL_DATA_DIR}" OUTPUT_VARIABLE lc_data)
cmake_path(NORMAL_PATH lc_program)
cmake_path(NORMAL_PATH lc_data)
# "/opt/linecodes/" as a prefix: no trailing separator in Path=.
string(REGEX REPLACE "(.)/+$" "\\1" lc_data "${lc_data}")

set(LC_DESKTOP_EXEC "\"${lc_program}\"")
set(LC_DESKTOP_TRYEXEC "${lc_program}")
set(LC_DESKTOP_PATH "${lc_data}")

# Each prefix gets a file of its own, so that two installs from one build at
# the same time (the install test beside a package build) never mix.
string(MD5 lc_key "$ENV{DESTDIR}|${lc_prefix}")
set(lc_entry "${LC_DESKTOP_STAGE}/${lc_key}/${LC_APP_ID}.desktop")
configure_file("${LC_DESKTOP_TEMPLATE}" "${lc_entry}" @ONLY)
file(INSTALL DESTINATION "${lc_prefix}/${LC_INSTALL_APPLICATIONS_DIR}" TYPE FILE
     FILES "${lc_entry}")
