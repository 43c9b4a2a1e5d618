# Installed the way Debian lays out its games: the program in games/, its shipped score table
# in share/games/gorbulax/, the tools a person may want in bin/ under names of the game's own,
# and what a desktop needs to show it. The program looks for the shipped table from its own
# folder (../share/games/gorbulax), so any prefix works: /usr, /usr/local or ~/.local.
# The Debian packages (debian/, scripts/package) are made of the same files.

set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(GORBULAX_PACKAGING_DIR ${CMAKE_CURRENT_LIST_DIR}/../packaging)

install(TARGETS gorbulax RUNTIME DESTINATION games)
install(FILES resources/gorbulax.dat DESTINATION share/games/gorbulax)

# A tool installed under another name than its build's, stripped like the targets when the
# install strips (`cmake --install --strip`), each with its manual page.
function(gorbulax_install_tool target name)
  install(PROGRAMS $<TARGET_FILE:${target}> DESTINATION bin RENAME ${name})
  install(CODE "if(CMAKE_INSTALL_DO_STRIP)
    execute_process(COMMAND \"${CMAKE_STRIP}\" \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin/${name}\")
  endif()")
  install(FILES ${GORBULAX_PACKAGING_DIR}/${name}.1 DESTINATION share/man/man1)
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
