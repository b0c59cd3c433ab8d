# Installing the game as a desktop game, and its Debian package.
#
#   <prefix>/games/tumbrix-velquor                 the launcher (on the PATH)
#   <prefix>/games/tumbrix-velquor-stagecheck      the stage checker
#   <prefix>/lib/games/tumbrix-velquor/tumbrix     the game itself, started by the launcher
#   <prefix>/share/games/tumbrix-velquor/          the data folder, read only
#   <prefix>/share/applications, metainfo, icons   the menu entry, its description and icon
#   <prefix>/share/doc/tumbrix-velquor/            README, player and stage author notes
#   <prefix>/share/man/man6/                       manual pages of the two commands
#   <prefix>/share/lintian/overrides/              the package's lintian overrides
#
# The launcher finds the game and its data relative to its own folder, so a staged install
# (DESTDIR) runs as it will from its final place.

set(TUMBRIX_VERSION 1.0.0)
set(TUMBRIX_APP_ID org.tumbrixvelquor.TumbrixVelquor)

set(TUMBRIX_INSTALL_GAMESDIR games)
set(TUMBRIX_INSTALL_LIBEXECDIR lib/games/tumbrix-velquor)
set(TUMBRIX_INSTALL_DATADIR share/games/tumbrix-velquor)
set(TUMBRIX_INSTALL_DOCDIR share/doc/tumbrix-velquor)

file(RELATIVE_PATH LAUNCHER_TO_DATA /${TUMBRIX_INSTALL_GAMESDIR} /${TUMBRIX_INSTALL_DATADIR})
file(RELATIVE_PATH LAUNCHER_TO_GAME /${TUMBRIX_INSTALL_GAMESDIR} /${TUMBRIX_INSTALL_LIBEXECDIR}/tumbrix)
configure_file(packaging/tumbrix-velquor.in ${CMAKE_BINARY_DIR}/packaging/tumbrix-velquor @ONLY)

install(TARGETS tumbrix DESTINATION ${TUMBRIX_INSTALL_LIBEXECDIR})
install(PROGRAMS ${CMAKE_BINARY_DIR}/packaging/tumbrix-velquor DESTINATION ${TUMBRIX_INSTALL_GAMESDIR})
if(TARGET stagecheck)
    install(PROGRAMS $<TARGET_FILE:stagecheck> DESTINATION ${TUMBRIX_INSTALL_GAMESDIR}
        RENAME tumbrix-velquor-stagecheck)
    # Installed under another name than it is built with, so --strip has to be asked for.
    install(CODE "if(CMAKE_INSTALL_DO_STRIP)
        execute_process(COMMAND \"${CMAKE_STRIP}\" \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${TUMBRIX_INSTALL_GAMESDIR}/tumbrix-velquor-stagecheck\")
    endif()")
endif()

# Whatever data/ holds when the install runs, except the files a game played from the
# checkout writes there.
install(DIRECTORY data/ DESTINATION ${TUMBRIX_INSTALL_DATADIR}
    PATTERN DoNotReadMe.txt EXCLUDE
    PATTERN hs.txt EXCLUDE
    PATTERN settings.txt EXCLUDE
    PATTERN records.txt EXCLUDE
    PATTERN replays EXCLUDE
    PATTERN *.damaged* EXCLUDE
    PATTERN *.tmp EXCLUDE
    PATTERN .* EXCLUDE)

install(FILES packaging/${TUMBRIX_APP_ID}.desktop DESTINATION share/applications)
install(FILES packaging/${TUMBRIX_APP_ID}.metainfo.xml DESTINATION share/metainfo)
foreach(size 16 24 32 48 64 128 256)
    install(FILES packaging/icons/${size}.png DESTINATION share/icons/hicolor/${size}x${size}/apps
        RENAME ${TUMBRIX_APP_ID}.png)
endforeach()

# Debian wants documentation and manual pages compressed, without time stamps.
find_program(GZIP_PROGRAM gzip REQUIRED)
set(TUMBRIX_GZIPPED "")
foreach(page packaging/tumbrix-velquor.6 packaging/tumbrix-velquor-stagecheck.6 packaging/changelog)
    get_filename_component(name ${page} NAME)
    set(out ${CMAKE_BINARY_DIR}/packaging/${name}.gz)
    add_custom_command(OUTPUT ${out}
        COMMAND ${GZIP_PROGRAM} -9 -n -c ${CMAKE_SOURCE_DIR}/${page} > ${out}
        DEPENDS ${CMAKE_SOURCE_DIR}/${page} VERBATIM)
    list(APPEND TUMBRIX_GZIPPED ${out})
endforeach()
add_custom_target(packaging_files ALL DEPENDS ${TUMBRIX_GZIPPED})
install(FILES ${CMAKE_BINARY_DIR}/packaging/tumbrix-velquor.6.gz ${CMAKE_BINARY_DIR}/packaging/tumbrix-velquor-stagecheck.6.gz
    DESTINATION share/man/man6)
install(FILES README.md docs/credits.md docs/stages.md packaging/copyright ${CMAKE_BINARY_DIR}/packaging/changelog.gz
    DESTINATION ${TUMBRIX_INSTALL_DOCDIR})
# Lintian's verdicts that do not apply here, each with its reason, where lintian looks for them.
install(FILES packaging/lintian-overrides DESTINATION share/lintian/overrides RENAME tumbrix-velquor)

# The Debian package: dependencies from the libraries the binaries really link (dpkg-shlibdeps).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tumbrix-velquor)
set(CPACK_PACKAGE_VERSION ${TUMBRIX_VERSION})
set(CPACK_PACKAGE_VENDOR "The Tumbrix Velquor team")
set(CPACK_PACKAGE_CONTACT "The Tumbrix Velquor team <team@tumbrixvelquor.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "roll a ball over floating cubes as gravity turns")
set(CPACK_PACKAGE_DESCRIPTION
    "Steer a textured ball over stages of cubes floating in space. Step over\n"
    "an edge or into a wall and the ball rolls onto the next face, its gravity\n"
    "turning with it, so stages are travelled on their sides and underneath.\n"
    "Collect every die to make the finish appear, take coins for points, beat\n"
    "the clock and enter the highscore table.")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# OpenAL Soft reaches the desktop's sound server through libraries it opens at run time.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libpulse0, libasound2")
# Mesa's drivers, which the GL libraries load at run time.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libgl1-mesa-dri")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)

# The menu entry and the AppStream metadata are checked by their own validators, and the
# install test starts the installed launcher, so the stage checker must be built for it.
if(TUMBRIX_TESTS AND NOT TUMBRIX_FUZZ)
    add_test(NAME desktop_entry_valid
        COMMAND desktop-file-validate ${CMAKE_SOURCE_DIR}/packaging/${TUMBRIX_APP_ID}.desktop)
    add_test(NAME appstream_metadata_valid
        COMMAND appstreamcli validate --no-net --pedantic ${CMAKE_SOURCE_DIR}/packaging/${TUMBRIX_APP_ID}.metainfo.xml)
    if(TARGET test_install)
        add_dependencies(test_install stagecheck packaging_files)
    endif()
endif()
