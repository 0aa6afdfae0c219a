# Where an installed game's files go, laid out as Debian lays out games (the program in games/,
# its data in share/games/marvaze/), and the Debian package CPack makes of them: scripts/deb.sh
# configures with the prefix /usr.

include(GNUInstallDirs)
set(MARVAZE_DATA_PARENT share/games/marvaze)
set(MARVAZE_INSTALLED_DATA ${CMAKE_INSTALL_PREFIX}/${MARVAZE_DATA_PARENT}/data)
set_source_files_properties(platform/core/data_folder.cpp PROPERTIES COMPILE_DEFINITIONS
  MARVAZE_INSTALLED_DATA_PARENT="${CMAKE_INSTALL_PREFIX}/${MARVAZE_DATA_PARENT}")
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

install(TARGETS marvaze RUNTIME DESTINATION games)
install(DIRECTORY data/ DESTINATION ${MARVAZE_DATA_PARENT}/data
        PATTERN icons EXCLUDE PATTERN marvaze.ico EXCLUDE)
install(FILES packaging/marvaze.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
# data/icons/N.png is the icon N pixels square.
file(GLOB MARVAZE_ICONS CONFIGURE_DEPENDS data/icons/*.png)
foreach(icon ${MARVAZE_ICONS})
  get_filename_component(size ${icon} NAME_WE)
  install(FILES ${icon} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME marvaze.png)
endforeach()
install(FILES packaging/io.github.marvaze.marvaze.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The manual page names the installed data folder and the version. It and the changelog are
# compressed as Debian wants them: gzip -9n, no name or time stamp, the same bytes every build.
configure_file(packaging/marvaze.6 ${PROJECT_BINARY_DIR}/packaging/marvaze.6 @ONLY)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
             ${PROJECT_SOURCE_DIR}/packaging/changelog)
foreach(page ${PROJECT_BINARY_DIR}/packaging/marvaze.6 ${PROJECT_SOURCE_DIR}/packaging/changelog)
  get_filename_component(name ${page} NAME)
  execute_process(COMMAND gzip -9nc ${page} OUTPUT_FILE ${PROJECT_BINARY_DIR}/packaging/${name}.gz
                  COMMAND_ERROR_IS_FATAL ANY)
endforeach()
install(FILES ${PROJECT_BINARY_DIR}/packaging/marvaze.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES packaging/copyright ${PROJECT_BINARY_DIR}/packaging/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/marvaze)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME marvaze)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "The Marvaze developers <marvaze@users.noreply.github.com>")
set(CPACK_PACKAGE_HOMEPAGE_URL https://github.com/marvaze/marvaze)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "side-view air-combat game")
set(CPACK_PACKAGE_DESCRIPTION "Fly one fighter from left to right, over ground and then over the
sea, against flights of enemy fighters, warships and bombers, with friendly
fighters on your side. A hit costs one point of health; there is one per life
and three spare lives. Behind the menu the computer flies a demonstration of
the same course. Keyboard or gamepad.")
# The compiled-in data folder and the package's files must agree.
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Added to what dpkg-shlibdeps finds in the binary: SDL and libepoxy open libGL at run time.
set(CPACK_DEBIAN_PACKAGE_DEPENDS libgl1)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
