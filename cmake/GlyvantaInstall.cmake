# What `cmake --install` puts under the prefix, and the Debian package CPack builds from it.
set(GLYVANTA_APP_ID org.example.Glyvanta)
set(desktop_dir ${PROJECT_SOURCE_DIR}/resources/desktop)

install(TARGETS glyvanta RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# Loaded at run time by the zip component, never linked: it lives in the program's own folder.
install(TARGETS unzlib LIBRARY DESTINATION ${GLYVANTA_PRIVATE_LIBDIR} NAMELINK_SKIP)
install(FILES ${desktop_dir}/${GLYVANTA_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${desktop_dir}/${GLYVANTA_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${desktop_dir}/${GLYVANTA_APP_ID}.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${desktop_dir}/${GLYVANTA_APP_ID}.mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
        RENAME ${GLYVANTA_APP_ID}.xml)
install(FILES ${desktop_dir}/glyvanta.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
# The program carries its resources compiled in; the help page and the default favourites are
# installed as documentation too, readable without the program.
install(FILES ${PROJECT_SOURCE_DIR}/resources/help.html ${PROJECT_SOURCE_DIR}/resources/favorites.ini ${PROJECT_SOURCE_DIR}/README.md
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/glyvanta)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME glyvanta)
set(CPACK_PACKAGE_VENDOR "The Glyvanta developers")
set(CPACK_PACKAGE_CONTACT "The Glyvanta developers <glyvanta@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Font viewer and font manager")
set(CPACK_PACKAGE_DESCRIPTION "Browse folders and ZIP archives for font files, list the installed fonts, look at a font as sample text, character map and report, install and uninstall fonts; a command line reports on fonts and archives.")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://glyvanta.example.org/")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION fonts)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "desktop-file-utils, shared-mime-info")
set(CPACK_STRIP_FILES ON)
include(CPack)
