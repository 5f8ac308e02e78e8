# Installing the game as Debian lays out games, and its .deb package.
#   cmake --install build             (prefix /usr/local by default)
#   cmake --build build --target package
include(GNUInstallDirs)

set(INKBLOT_GAMES_DIR games CACHE STRING "Where the programs go, under the prefix")
set(INKBLOT_DATA_INSTALL_DIR ${CMAKE_INSTALL_DATADIR}/games/inkblot-fighter)
set(INKBLOT_DOC_DIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/inkblot-fighter)

# The programs find their content from their own folder, so a moved
# install keeps working; the absolute folder is the last place they look.
file(RELATIVE_PATH INKBLOT_RELATIVE_DATA
  ${CMAKE_INSTALL_PREFIX}/${INKBLOT_GAMES_DIR} ${CMAKE_INSTALL_PREFIX}/${INKBLOT_DATA_INSTALL_DIR})
set_property(SOURCE ${CMAKE_SOURCE_DIR}/src/app/data_folder.cpp APPEND PROPERTY COMPILE_DEFINITIONS
  INKBLOT_RELATIVE_DATA="${INKBLOT_RELATIVE_DATA}"
  INKBLOT_INSTALLED_DATA="${CMAKE_INSTALL_PREFIX}/${INKBLOT_DATA_INSTALL_DIR}")

install(TARGETS inkblot-fighter inkblot-sim RUNTIME DESTINATION ${INKBLOT_GAMES_DIR})
install(DIRECTORY ${CMAKE_BINARY_DIR}/data/ DESTINATION ${INKBLOT_DATA_INSTALL_DIR}
  PATTERN .stamp EXCLUDE)
install(DIRECTORY ${CMAKE_BINARY_DIR}/icons/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
install(FILES tools/package/inkblot-fighter.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES tools/package/inkblot-fighter.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES tools/package/copyright DESTINATION ${INKBLOT_DOC_DIR})

# Man pages and the changelog go compressed, without a time stamp, so the
# same sources give the same package.
set(PACKAGE_FILES ${CMAKE_BINARY_DIR}/package-files)
set(COMPRESSED)
foreach(pair docs/man/inkblot-fighter.6:inkblot-fighter.6.gz docs/man/inkblot-sim.6:inkblot-sim.6.gz
             tools/package/changelog:changelog.gz)
  string(REPLACE ":" ";" pair ${pair})
  list(GET pair 0 source)
  list(GET pair 1 target)
  add_custom_command(OUTPUT ${PACKAGE_FILES}/${target}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PACKAGE_FILES}
    COMMAND sh -c "gzip -9n < \"$0\" > \"$1\"" ${CMAKE_SOURCE_DIR}/${source} ${PACKAGE_FILES}/${target}
    DEPENDS ${CMAKE_SOURCE_DIR}/${source}
    COMMENT "Compressing ${source}" VERBATIM)
  list(APPEND COMPRESSED ${PACKAGE_FILES}/${target})
endforeach()
add_custom_target(package-files ALL DEPENDS ${COMPRESSED})
install(FILES ${PACKAGE_FILES}/inkblot-fighter.6.gz ${PACKAGE_FILES}/inkblot-sim.6.gz
  DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${PACKAGE_FILES}/changelog.gz DESTINATION ${INKBLOT_DOC_DIR})

# --- the .deb ---------------------------------------------------------------
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME inkblot-fighter)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
# The package always installs under /usr. Its programs find the content
# beside them (../share/games/inkblot-fighter); only the last fallback, the
# absolute folder, comes from CMAKE_INSTALL_PREFIX, so configure with
# -DCMAKE_INSTALL_PREFIX=/usr for a package to hand out.
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES TRUE)
set(CPACK_PACKAGE_CONTACT "Inkblot Fighter maintainers <maintainers@users.noreply.c-seed-99a40c94.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "two-player fighting game with ink-drawn fighters")
# The synopsis is the summary above; this is the extended description.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Two players share one keyboard; two ink-drawn fighters, rook and quill,
fight on a desert stage until one of them is knocked out. Punches, kicks,
sweeps, blocks and a special move are found pixel by pixel in hit masks.
.
Everything the game shows and does comes from plain content files, so new
fighters can be drawn and described without touching the program. The
package also holds inkblot-sim, which plays the game without a window from
a script of key presses and writes a trace and screenshots.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The quote font is read from the system's fonts.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-comic-neue | fonts-dejavu-core")
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
include(CPack)
