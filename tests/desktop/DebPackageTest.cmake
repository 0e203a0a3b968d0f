# Builds the Debian package with CPack and checks its file list and fields.
# In: BUILD, WORK, LIBDIR.
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
execute_process(COMMAND cpack -G DEB --config "${BUILD}/CPackConfig.cmake" -B "${WORK}" RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
file(GLOB debs "${WORK}/*.deb")
list(LENGTH debs count)
if(NOT result EQUAL 0 OR NOT count EQUAL 1)
    message(FATAL_ERROR "cpack: ${result} ${out} ${err}")
endif()
execute_process(COMMAND dpkg-deb -c ${debs} OUTPUT_VARIABLE listing RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "dpkg-deb -c failed")
endif()
string(REGEX MATCHALL "\\./usr/[^\n ]*[^/\n ]\n" files "${listing}")
string(REPLACE "\n" "" files "${files}")
list(SORT files)
set(expected
    ./usr/bin/glyvanta
    ./usr/${LIBDIR}/glyvanta/libunzlib.so
    ./usr/share/applications/org.example.Glyvanta.desktop
    ./usr/share/doc/glyvanta/README.md
    ./usr/share/doc/glyvanta/favorites.ini
    ./usr/share/doc/glyvanta/help.html
    ./usr/share/icons/hicolor/scalable/apps/org.example.Glyvanta.svg
    ./usr/share/man/man1/glyvanta.1
    ./usr/share/metainfo/org.example.Glyvanta.metainfo.xml
    ./usr/share/mime/packages/org.example.Glyvanta.xml)
list(SORT expected)
if(NOT files STREQUAL expected)
    message(FATAL_ERROR "package files differ\n  got:      ${files}\n  expected: ${expected}")
endif()
message(STATUS "Package files: ${files}")
execute_process(COMMAND dpkg-deb -f ${debs} Package Version Depends OUTPUT_VARIABLE fields)
if(NOT fields MATCHES "Package: glyvanta\nVersion: 2\\.4\n" OR NOT fields MATCHES "Depends: [^\n]*libc6" OR NOT fields MATCHES "libqt6widgets6")
    message(FATAL_ERROR "package fields: ${fields}")
endif()
