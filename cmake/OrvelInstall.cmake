# Installation like a desktop application: the program and orvel-tool in
# bin/, the program data folder in share/orvel-jigsaw/ (found from bin/ at
# run time), the desktop entry, the icons in the hicolor theme and the
# AppStream metadata; and a Debian package from it with CPack.

include(GNUInstallDirs)
set(ORVEL_APP_ID example.orvel_jigsaw.ZentiaTour)
set(ORVEL_INSTALL_DATA_DIR ${CMAKE_INSTALL_DATADIR}/orvel-jigsaw)

if(TARGET orvel-jigsaw)
  install(TARGETS orvel-jigsaw RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
install(TARGETS orvel-tool RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# The data staged in the build folder: the files of data/ and what the build
# generates. Folders other parts of the program add later join the list.
set(ORVEL_DATA_FOLDERS language resources bkg-pics jigsaws thumb)
set(ORVEL_DATA_FILES credits.txt pic_orvel.dat set.wav win.wav orvel.ini)
foreach(folder ${ORVEL_DATA_FOLDERS})
  install(DIRECTORY ${ORVEL_DATA_DIR}/${folder} DESTINATION ${ORVEL_INSTALL_DATA_DIR} OPTIONAL)
endforeach()
foreach(file ${ORVEL_DATA_FILES})
  install(FILES ${ORVEL_DATA_DIR}/${file} DESTINATION ${ORVEL_INSTALL_DATA_DIR} OPTIONAL)
endforeach()

if(TARGET orvel-jigsaw)
  install(FILES ${CMAKE_SOURCE_DIR}/packaging/${ORVEL_APP_ID}.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${CMAKE_SOURCE_DIR}/packaging/${ORVEL_APP_ID}.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  install(DIRECTORY ${ORVEL_ICON_DIR}/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
endif()

set(CPACK_PACKAGE_NAME orvel-jigsaw)
set(CPACK_PACKAGE_VENDOR "The Orvel Jigsaw team")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Jigsaw puzzle game for the desktop")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "The Orvel Jigsaw team <orvel@orvel-jigsaw.example>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's X11 and Wayland platform plugins are a package of their own; without
# them the program cannot open a window. The libraries it links are found by
# dpkg-shlibdeps and added to this list.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_GENERATOR DEB)
include(CPack)
