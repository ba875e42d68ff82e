# Installing (cmake --install, any prefix) and the Debian package (cpack -G DEB).
#   bin/sulkan
#   share/applications, share/metainfo, share/icons/hicolor: desktop entry, metadata, icon
#   share/mime/packages: the copy file's type (application/x-sulkan-copy, "*.skn") and its icon
#   in share/icons/hicolor/*/mimetypes
#   share/sulkan/kanji: the sample course, copied to the user's data folder on first start
#   share/sulkan/help: the help pages, when the source tree has them
#   share/man/man1/sulkan.1.gz, share/doc/sulkan/{copyright,changelog.gz}: what a Debian package
#   carries beside the program
# The program finds its data at <bindir>/../share/sulkan, so the build tree mirrors that layout
# with links: build/app/sulkan runs on the sample course as the installed program does.
include(GNUInstallDirs)

set(SULKAN_APP_ID org.sulkanpp.Sulkan)
set(SULKAN_DATA_DIR ${CMAKE_INSTALL_DATADIR}/sulkan)

install(TARGETS sulkan RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES data/${SULKAN_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES data/${SULKAN_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES data/icons/sulkan.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME ${SULKAN_APP_ID}.svg)
foreach(size 16 24 32 48 64 128 256)
  install(FILES data/icons/sulkan-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME ${SULKAN_APP_ID}.png)
endforeach()
install(FILES data/${SULKAN_APP_ID}.mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
        RENAME ${SULKAN_APP_ID}.xml)
install(FILES data/icons/sulkan-copy.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/mimetypes
        RENAME application-x-sulkan-copy.svg)
foreach(size 16 24 32 48 64 128 256)
  install(FILES data/icons/sulkan-copy-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/mimetypes
          RENAME application-x-sulkan-copy.png)
endforeach()
# The course only: the generator and checker in samples/tools are not data.
install(DIRECTORY samples/kanji/ DESTINATION ${SULKAN_DATA_DIR}/kanji)
if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/help)
  install(DIRECTORY help/ DESTINATION ${SULKAN_DATA_DIR}/help)
endif()

# Compressed as Debian wants them: best compression, no name or time stamp in the header.
foreach(page data/sulkan.1 data/debian/changelog)
  get_filename_component(name ${page} NAME)
  execute_process(COMMAND gzip -9nc ${CMAKE_CURRENT_SOURCE_DIR}/${page}
                  OUTPUT_FILE ${CMAKE_BINARY_DIR}/${name}.gz COMMAND_ERROR_IS_FATAL ANY)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${page})
endforeach()
install(FILES ${CMAKE_BINARY_DIR}/sulkan.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES data/debian/copyright ${CMAKE_BINARY_DIR}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/sulkan)

file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/share/sulkan)
foreach(folder samples/kanji help)
  get_filename_component(name ${folder} NAME)
  if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${folder})
    file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR}/${folder} ${CMAKE_BINARY_DIR}/share/sulkan/${name}
         SYMBOLIC)
  endif()
endforeach()

set(CPACK_PACKAGE_NAME sulkan)
set(CPACK_PACKAGE_VENDOR "Sulkan++ developers")
set(CPACK_PACKAGE_CONTACT "Sulkan++ developers <dev@sulkanpp.invalid>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "kanji worksheets to print and drills on screen")
set(CPACK_PACKAGE_DESCRIPTION
    "Sulkan++ is a desktop program for Japanese schools and cram schools: teachers
compose kanji worksheets from the units of a course and print question and
answer sheets; learners drill the same units on screen. A sample course is
included.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Qt, CUPS and zinnia libraries come from dpkg-shlibdeps; these are loaded by name at run time.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "fonts-ipafont, fonts-ipaexfont, fonts-kouzan-mouhitsu, fonts-klee, tegaki-zinnia-japanese, fonts-kanjistrokeorders, kanjidic, qt6-translations-l10n")
set(CPACK_STRIP_FILES ON)
include(CPack)
