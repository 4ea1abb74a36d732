# The installed program folder: the binary with its shipped data and the engine launcher in
# lib/tabulon, a command in bin, a desktop entry and an icon. When that folder is not writable
# the program keeps its own files in the user's data folder, seeded from it.
include(GNUInstallDirs)
set(TABULON_PROGRAM_DIR ${CMAKE_INSTALL_LIBDIR}/tabulon)

install(TARGETS tabulon RUNTIME DESTINATION ${TABULON_PROGRAM_DIR})
install(DIRECTORY ${CMAKE_SOURCE_DIR}/data/ DESTINATION ${TABULON_PROGRAM_DIR})
install(PROGRAMS ${CMAKE_SOURCE_DIR}/packaging/gnubg-cli DESTINATION ${TABULON_PROGRAM_DIR}/GNUBG)
install(CODE "
  file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
  file(CREATE_LINK ../${TABULON_PROGRAM_DIR}/tabulon
       \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/tabulon\" SYMBOLIC)")
install(FILES ${CMAKE_SOURCE_DIR}/packaging/tabulon.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/tabulon.png
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/128x128/apps)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tabulon)
set(CPACK_PACKAGE_VENDOR "Tabulon")
set(CPACK_PACKAGE_CONTACT "Tabulon developers <tabulon@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Desktop client for FIBS, the internet backgammon server")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time, so the library scan cannot see them: the window system plugins, the
# sound back end, a fixed-pitch font and the analysis engine.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-dejavu-core, gnubg")
include(CPack)
