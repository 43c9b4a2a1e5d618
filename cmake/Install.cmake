# Installed the way Debian lays out its games: the program in games/, its shipped score table
# in share/games/gorbulax/, the tools a person may want in bin/ under names of the game's own,
# and what a desktop needs to show it. The program looks for the shipped table from its own
# folder (../share/games/gorbulax), so any prefix works: /usr, /usr/local or ~/.local.
# `cpack` in the build folder makes the Debian package of the same files.

set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(GORBULAX_PACKAGING_DIR ${CMAKE_CURRENT_LIST_DIR}/../packaging)

install(TARGETS gorbulax RUNTIME DESTINATION games)
install(FILES resources/gorbulax.dat DESTINATION share/games/gorbulax)

# A tool installed under another name than its build's, stripped like the targets when the
# install strips (`cmake --install --strip`, the package).
function(gorbulax_install_tool target name)
  install(PROGRAMS $<TARGET_FILE:${target}> DESTINATION bin RENAME ${name})
  install(CODE "if(CMAKE_INSTALL_DO_STRIP)
    execute_process(COMMAND \"${CMAKE_STRIP}\" \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin/${name}\")
  endif()")
endfunction()
gorbulax_install_tool(gkpack gorbulax-pack)
if(TARGET gktrace)
  gorbulax_install_tool(gktrace gorbulax-trace)
endif()

install(FILES ${GORBULAX_PACKAGING_DIR}/gorbulax.desktop DESTINATION share/applications)
install(FILES ${GORBULAX_PACKAGING_DIR}/example.brakmoor.Gorbulax.metainfo.xml
        DESTINATION share/metainfo)
install(FILES ${GORBULAX_PACKAGING_DIR}/gorbulax.6 DESTINATION share/man/man6)
# The icon in every size makeart draws it (resources/icons/gorbulax-<size>.png).
file(GLOB GORBULAX_ICONS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/resources/icons/gorbulax-*.png)
foreach(icon IN LISTS GORBULAX_ICONS)
  string(REGEX REPLACE ".*gorbulax-([0-9]+)\\.png$" "\\1" size ${icon})
  install(FILES ${icon} DESTINATION share/icons/hicolor/${size}x${size}/apps RENAME gorbulax.png)
endforeach()

# The Debian package: the files above under /usr, with the dependencies the binaries need,
# and the copyright and changelog where Debian keeps them (added by DebianDocs.cmake).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME gorbulax)
set(CPACK_PACKAGE_VENDOR "Umbrel Prowlet")
set(CPACK_PACKAGE_CONTACT "Umbrel Prowlet <games@brakmoor.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "arcade game: shoot the energy parasites among the stars")
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
  "You fly through a star field that streams out of a vanishing point."
  "Enemy craft, the energy parasites, come out of it, grow as they close"
  "in and drift across the field: shoot them with your mouse-aimed laser"
  "before they get past you. The ten best pilots go into the high score"
  "table.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.brakmoor.example/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# What the libraries do not name but the program needs to start where recommended packages are
# left out: the toolkit's platform plugins for X11 (qt6-qpa-plugins) and Wayland, and the fonts
# its windows are designed with.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-wayland, fonts-liberation2")
set(CPACK_GORBULAX_PACKAGING_DIR ${GORBULAX_PACKAGING_DIR})
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/DebianDocs.cmake)
include(CPack)
