# The Debian package: `make package`, or `cpack` in any build tree, makes
# tarvex_<version>_<arch>.deb with everything `cmake --install` puts in place,
# laid out under /usr, plus the copyright file and changelog Debian wants.
#
# The game looks for its data beside itself first (../share/tarvex from bin/),
# so a package made from a tree configured for another prefix still finds it;
# only the configured prefix, its last resort, would then point elsewhere.
# `make package` configures its own tree with CMAKE_INSTALL_PREFIX=/usr.

# Where players and packagers reach the project: its home page and its issue tracker.
set(TARVEX_HOMEPAGE "https://github.com/tarvex/tarvex" CACHE STRING "The project's home page")
set(TARVEX_PACKAGE_MAINTAINER "Tarvex developers <tarvex@users.noreply.github.com>"
    CACHE STRING "Maintainer field of the Debian package: Name <address>")

if(NOT CMAKE_INSTALL_PREFIX STREQUAL "/usr")
  message(STATUS "Tarvex: packages made from this tree find their data only beside the program "
                 "(configure with -DCMAKE_INSTALL_PREFIX=/usr, as `make package` does, to match)")
endif()

# Manual pages, compressed the way Debian installs them (no name or time stamp in the gzip header).
set(TARVEX_MAN_PAGES tarvex-sim)
if(TARVEX_BUILD_UI)
  list(APPEND TARVEX_MAN_PAGES tarvex)
endif()
set(TARVEX_MAN_OUTPUTS)
foreach(page ${TARVEX_MAN_PAGES})
  set(man ${CMAKE_BINARY_DIR}/man/${page}.6)
  configure_file(data/man/${page}.6.in ${man} @ONLY)
  add_custom_command(OUTPUT ${man}.gz
                     COMMAND gzip -9 -n -k -f ${man}
                     DEPENDS ${man}
                     COMMENT "Compressing the manual page ${page}(6)")
  list(APPEND TARVEX_MAN_OUTPUTS ${man}.gz)
  install(FILES ${man}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
endforeach()
add_custom_target(tarvex_man_pages ALL DEPENDS ${TARVEX_MAN_OUTPUTS})

# Debian's own files, in a component of their own that `cmake --install` leaves
# out: the licence and the map's notice as the copyright file, and the changelog
# of a package that is its own upstream.
set(debian_doc ${CMAKE_BINARY_DIR}/debian-doc)
file(READ LICENSE license_text)
set(map_notice "")
if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/data/map/NOTICE)
  file(READ data/map/NOTICE map_notice)
  string(PREPEND map_notice "\n\nThe map data (usr/share/tarvex/map)\n\n")
endif()
# Written through a scratch copy so that an unchanged file keeps its time stamp.
function(tarvex_write_if_changed path text)
  file(WRITE ${path}.new "${text}")
  configure_file(${path}.new ${path} COPYONLY)
  file(REMOVE ${path}.new)
endfunction()
tarvex_write_if_changed(${debian_doc}/copyright
     "Tarvex\n\n${license_text}${map_notice}")
# Dated by the release in the AppStream metadata, so the same sources make the same file.
file(STRINGS data/io.github.tarvex.Tarvex.metainfo.xml release_line
     REGEX "<release version=\"${PROJECT_VERSION}\" date=\"[0-9-]+\"")
string(REGEX MATCH "[0-9]+-[0-9]+-[0-9]+" release_date "${release_line}")
set(changelog_date "")
if(release_date)
  execute_process(COMMAND date -u -R -d "${release_date} 12:00:00 UTC"
                  OUTPUT_VARIABLE changelog_date OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
endif()
if(NOT changelog_date)
  string(TIMESTAMP changelog_date "%a, %d %b %Y %H:%M:%S +0000" UTC)
endif()
string(CONCAT changelog
       "tarvex (${PROJECT_VERSION}) stable; urgency=medium\n\n"
       "  * Release ${PROJECT_VERSION}.\n\n"
       " -- ${TARVEX_PACKAGE_MAINTAINER}  ${changelog_date}\n")
tarvex_write_if_changed(${debian_doc}/changelog "${changelog}")
add_custom_command(OUTPUT ${debian_doc}/changelog.gz
                   COMMAND gzip -9 -n -k -f ${debian_doc}/changelog
                   DEPENDS ${debian_doc}/changelog)
add_custom_target(tarvex_debian_doc ALL DEPENDS ${debian_doc}/changelog.gz)
install(FILES ${debian_doc}/copyright ${debian_doc}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tarvex COMPONENT debian EXCLUDE_FROM_ALL)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tarvex)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Tarvex developers")
set(CPACK_PACKAGE_CONTACT ${TARVEX_PACKAGE_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "turn-based strategy game of conquest in medieval Europe")
set(CPACK_PACKAGE_DESCRIPTION
    "Tarvex is a single-player, turn-based strategy game of conquest in medieval
Europe, with a Japanese user interface. You command one nation's cities on a
map of 75 cities; the computer runs the other 33 nations. Each season every
city gives one order: move troops, attack a neighbour, raise troops, build up
the land, the town or the castle, or trade food. Battles are fought round by
round with five tactics, morale and dice.

中世ヨーロッパを舞台にした一人用のターン制国取りゲームです。

The package also holds tarvex-sim, which plays computer-only games from the
command line.")
# Everything the default install puts in place, then the Debian component.
set(CPACK_INSTALL_CMAKE_PROJECTS
    "${CMAKE_BINARY_DIR};${PROJECT_NAME};ALL;/"
    "${CMAKE_BINARY_DIR};${PROJECT_NAME};debian;/")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
# The same sources make the same package: its files dated by the last commit (or
# by SOURCE_DATE_EPOCH when the packager sets it, or by the release's date outside
# a git checkout), never by when it was built. The scripts run on the staged tree.
set(CPACK_TARVEX_SOURCE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
set(CPACK_TARVEX_RELEASE_DATE "${release_date}")
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/PackageDirectoryModes.cmake
                            ${CMAKE_CURRENT_LIST_DIR}/PackageFileTimes.cmake)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${TARVEX_HOMEPAGE})
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The libraries come from the programs themselves (dpkg-shlibdeps, package dpkg-dev).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
if(TARVEX_BUILD_UI)
  # What the game loads by name, which no library link shows: the Japanese fonts
  # it asks for (Noto Sans CJK JP, else IPAGothic) and Qt's own Japanese texts
  # (qtbase_ja.qm). The X11 platform plugin ships with libqt6gui6.
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-noto-cjk | fonts-ipafont-gothic, qt6-translations-l10n")
  # A native Wayland window; the help page opened in the browser.
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland, xdg-utils")
endif()

include(CPack)
