# The Debian package, built by cpack from the build and checked as dpkg and
# apt see it: its control fields and dependencies, its file list, and, once
# unpacked into a throwaway dpkg root, the same installed tree as
# `cmake --install --prefix /usr` gives, with the program starting from its
# desktop entry's folder.
#
# cmake -DBUILD_DIR=… -DSOURCE_DIR=… -DWORK_DIR=… -DAPP_ID=… -DICON_SIZES=…
#       -DCPACK=… -DDPKG=… -DDPKG_DEB=… -DOBJDUMP=… -DDESKTOP_FILE_VALIDATE=… -DAPPSTREAMCLI=…
#       -P deb_test.cmake

include("${CMAKE_CURRENT_LIST_DIR}/checks.cmake")
file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}")

lc_run(cpack COMMAND "${CPACK}" --config "${BUILD_DIR}/CPackConfig.cmake" -G DEB
                     -B "${WORK_DIR}/out")
file(GLOB debs "${WORK_DIR}/out/linecodes_*.deb")
list(LENGTH debs count)
if(NOT count EQUAL 1)
    lc_fail("cpack made ${count} packages named linecodes_*.deb" "${cpack_OUT}")
endif()
set(deb "${debs}")

lc_run(fields COMMAND "${DPKG_DEB}" --field "${deb}" Package Maintainer Depends)
message(STATUS "${fields_OUT}")
if(NOT fields_OUT MATCHES "Package: linecodes\n")
    lc_fail("The package is not named linecodes" "${fields_OUT}")
endif()
# Unpacked by dpkg into an empty root of its own: the dependencies are this
# machine's, not the root's, hence --force-depends.
set(root "${WORK_DIR}/root")
file(MAKE_DIRECTORY "${root}/var/lib/dpkg/info" "${root}/var/lib/dpkg/updates")
file(TOUCH "${root}/var/lib/dpkg/status")
lc_run(dpkg COMMAND "${DPKG}" --root=${root} --force-depends --force-not-root
                    --log=${WORK_DIR}/dpkg.log --install "${deb}")
lc_run(status COMMAND "${DPKG}" --root=${root} --status linecodes)
if(NOT status_OUT MATCHES "Status: install ok installed")
    lc_fail("dpkg did not install the package" "${status_OUT}")
endif()
lc_check_tree("${root}" "/usr")

# Every library the programs load comes from a package the package depends
# on (what dpkg-shlibdeps is for), and the fonts the windows are designed
# in, which are found by name at run time, are listed too.
set(needed "")
foreach(program LineCodes linecode)
    lc_run(objdump COMMAND "${OBJDUMP}" -p "${root}/usr/bin/${program}")
    string(REGEX MATCHALL "NEEDED +[^\n]+" lines "${objdump_OUT}")
    foreach(line IN LISTS lines)
        string(REGEX REPLACE "NEEDED +" "" library "${line}")
        list(APPEND needed "${library}")
    endforeach()
endforeach()
list(REMOVE_DUPLICATES needed)
# The owner built for this machine, not a 32-bit copy (libc6-i386).
lc_run(arch COMMAND "${DPKG}" --print-architecture)
string(STRIP "${arch_OUT}" arch)
foreach(library IN LISTS needed)
    lc_run(owner COMMAND "${DPKG}" --search "*/${library}")
    if(NOT owner_OUT MATCHES "(^|\n)([^:\n]+):${arch}: ")
        lc_fail("No ${arch} package of this machine holds ${library}" "${owner_OUT}")
    endif()
    list(APPEND dependencies "${CMAKE_MATCH_2}")
endforeach()
list(APPEND dependencies fonts-urw-base35 fonts-liberation2 fonts-dejavu-core)
list(REMOVE_DUPLICATES dependencies)
foreach(dependency IN LISTS dependencies)
    string(REPLACE "+" "\\+" pattern "${dependency}")
    if(NOT fields_OUT MATCHES "Depends:[^\n]*[ ,]${pattern}[ ,(\n]")
        lc_fail("The package does not depend on ${dependency}" "${fields_OUT}")
    endif()
endforeach()
message(STATUS "Libraries loaded: ${needed}")

# The packaged programs are stripped copies; they must still run.
lc_run(check COMMAND "${CMAKE_COMMAND}" -E env QT_QPA_PLATFORM=offscreen
                     "${root}/usr/bin/LineCodes" --self-check
             WORKING_DIRECTORY "${root}/usr/share/linecodes")
lc_run(help COMMAND "${root}/usr/bin/linecode" --help)

file(REMOVE_RECURSE "${WORK_DIR}")
