# Installs the build into a staged prefix (DESTDIR), checks the installed file list, and runs the
# installed program: its command line, the unzip library found in its own library folder, and a
# picture of its window drawn offscreen.
# In: BUILD, WORK, FONT, BINDIR, LIBDIR, DATADIR, MANDIR.
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}/home/config" "${WORK}/home/data" "${WORK}/home/cache")
set(prefix /opt/glyvanta)
set(ENV{DESTDIR} "${WORK}/stage")
execute_process(COMMAND ${CMAKE_COMMAND} --install "${BUILD}" --prefix ${prefix} RESULT_VARIABLE result OUTPUT_QUIET)
unset(ENV{DESTDIR})
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cmake --install failed: ${result}")
endif()
set(root "${WORK}/stage${prefix}")

file(GLOB_RECURSE installed LIST_DIRECTORIES false RELATIVE "${root}" "${root}/*")
list(SORT installed)
set(expected
    ${BINDIR}/glyvanta
    ${LIBDIR}/glyvanta/libunzlib.so
    ${DATADIR}/applications/org.example.Glyvanta.desktop
    ${DATADIR}/doc/glyvanta/README.md
    ${DATADIR}/doc/glyvanta/favorites.ini
    ${DATADIR}/doc/glyvanta/help.html
    ${DATADIR}/icons/hicolor/scalable/apps/org.example.Glyvanta.svg
    ${MANDIR}/man1/glyvanta.1
    ${DATADIR}/metainfo/org.example.Glyvanta.metainfo.xml
    ${DATADIR}/mime/packages/org.example.Glyvanta.xml)
list(SORT expected)
if(NOT installed STREQUAL expected)
    message(FATAL_ERROR "installed files differ\n  got:      ${installed}\n  expected: ${expected}")
endif()
message(STATUS "Installed: ${installed}")

# The installed program, in a home of its own, with only the test fonts known.
file(WRITE "${WORK}/fonts.conf" "<?xml version=\"1.0\"?>\n<fontconfig>\n  <dir>${FONTDIR}</dir>\n  <cachedir>${WORK}/fccache</cachedir>\n</fontconfig>\n")
set(ENV{XDG_CONFIG_HOME} "${WORK}/home/config")
set(ENV{XDG_DATA_HOME} "${WORK}/home/data")
set(ENV{XDG_CACHE_HOME} "${WORK}/home/cache")
set(ENV{FONTCONFIG_FILE} "${WORK}/fonts.conf")
set(ENV{QT_QPA_PLATFORM} offscreen)
set(program "${root}/${BINDIR}/glyvanta")

execute_process(COMMAND "${program}" --version OUTPUT_VARIABLE out RESULT_VARIABLE result)
if(NOT result EQUAL 0 OR NOT out STREQUAL "Glyvanta 2.4\n")
    message(FATAL_ERROR "--version: ${result} '${out}'")
endif()
execute_process(COMMAND "${program}" info "${FONT}" --json OUTPUT_VARIABLE out RESULT_VARIABLE result)
if(NOT result EQUAL 0 OR NOT out MATCHES "\"fullName\": \"DejaVu Sans\"" OR NOT out MATCHES "\"name\": \"Basic Latin\"")
    message(FATAL_ERROR "info: ${result} '${out}'")
endif()

# Extraction needs the unzip library, which lies in the program's library folder only.
file(MAKE_DIRECTORY "${WORK}/zip")
file(WRITE "${WORK}/zip/note.txt" "a note\n")
execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf "${WORK}/note.zip" --format=zip note.txt WORKING_DIRECTORY "${WORK}/zip")
execute_process(COMMAND "${program}" zip-extract "${WORK}/note.zip" note.txt -d "${WORK}/out"
                OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE result)
if(NOT result EQUAL 0 OR NOT EXISTS "${WORK}/out/note.txt")
    message(FATAL_ERROR "zip-extract through the installed library: ${result} '${out}' '${err}'")
endif()

execute_process(COMMAND "${program}" --screenshot "${WORK}/window.png" RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err
                TIMEOUT 60)
if(NOT result EQUAL 0 OR NOT EXISTS "${WORK}/window.png")
    message(FATAL_ERROR "--screenshot: ${result} '${out}' '${err}'")
endif()
file(SIZE "${WORK}/window.png" size)
if(size LESS 1000)
    message(FATAL_ERROR "the picture of the window is only ${size} bytes")
endif()
