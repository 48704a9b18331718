# What `cmake --install` lays out, in the usual places under the prefix:
#   bin/                          veltrane, veltrane-cli, veltrane-lsp
#   share/veltrane/               the help page index.htm, htmldata/, rules.txt
#   share/applications/           the desktop entry
#   share/metainfo/               the AppStream description
#   share/icons/hicolor/*/apps/   the icon, as SVG and at the usual PNG sizes
#   share/man/man1/               the manual pages, compressed
include(GNUInstallDirs)

set(VELTRANE_APP_ID io.github.veltrane.Veltrane)
set(VELTRANE_DESKTOP_DIR ${CMAKE_SOURCE_DIR}/resources/linux)
set(VELTRANE_DATA_DIR ${CMAKE_INSTALL_DATADIR}/veltrane)

# Debian wants 0755 folders whatever the umask of the one who builds.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

if(TARGET veltrane-cli)
  install(TARGETS veltrane-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  # Both programs read it, beside the help page.
  install(FILES ${CMAKE_SOURCE_DIR}/resources/rules.txt DESTINATION ${VELTRANE_DATA_DIR})
endif()
# Beside veltrane-cli: an editor finds both on the PATH, and the server finds
# an installation around itself as the command line does.
if(TARGET veltrane-lsp)
  install(TARGETS veltrane-lsp RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

if(TARGET veltrane)
  install(TARGETS veltrane RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${CMAKE_SOURCE_DIR}/resources/index.htm DESTINATION ${VELTRANE_DATA_DIR})
  install(DIRECTORY ${CMAKE_SOURCE_DIR}/resources/htmldata DESTINATION ${VELTRANE_DATA_DIR}
    FILES_MATCHING PATTERN "*.gif")

  install(FILES ${VELTRANE_DESKTOP_DIR}/${VELTRANE_APP_ID}.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${VELTRANE_DESKTOP_DIR}/${VELTRANE_APP_ID}.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  install(FILES ${VELTRANE_DESKTOP_DIR}/${VELTRANE_APP_ID}.svg
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  file(GLOB veltrane_icon_sizes RELATIVE ${VELTRANE_DESKTOP_DIR}/icons
    ${VELTRANE_DESKTOP_DIR}/icons/*)
  foreach(size IN LISTS veltrane_icon_sizes)
    install(FILES ${VELTRANE_DESKTOP_DIR}/icons/${size}/${VELTRANE_APP_ID}.png
      DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}/apps)
  endforeach()
endif()

# Manual pages go in compressed, as man reads them and Debian asks; -n keeps
# the name and time out, so the same page gives the same bytes.
find_program(VELTRANE_GZIP gzip)
set(veltrane_man_pages)
if(TARGET veltrane-cli)
  list(APPEND veltrane_man_pages veltrane-cli.1)
endif()
if(TARGET veltrane-lsp)
  list(APPEND veltrane_man_pages veltrane-lsp.1)
endif()
if(TARGET veltrane)
  list(APPEND veltrane_man_pages veltrane.1)
endif()
set(veltrane_installed_pages)
foreach(page IN LISTS veltrane_man_pages)
  set(source ${CMAKE_SOURCE_DIR}/docs/${page})
  if(VELTRANE_GZIP)
    set(packed ${CMAKE_BINARY_DIR}/man/${page}.gz)
    add_custom_command(OUTPUT ${packed}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
      COMMAND ${VELTRANE_GZIP} -9nc ${source} > ${packed}
      DEPENDS ${source}
      VERBATIM)
    list(APPEND veltrane_installed_pages ${packed})
  else()
    list(APPEND veltrane_installed_pages ${source})
  endif()
endforeach()
if(VELTRANE_GZIP AND veltrane_installed_pages)
  add_custom_target(veltrane_man_pages ALL DEPENDS ${veltrane_installed_pages})
endif()
install(FILES ${veltrane_installed_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The Debian package goes with it.
include(${CMAKE_CURRENT_LIST_DIR}/Package.cmake)
