# Installation in the GNU layout: cmake --install build --prefix PREFIX puts
# the programs into PREFIX/bin and the desktop entry, AppStream metadata, MIME
# type, icons, manual pages and examples under PREFIX/share. The MIME package
# there (share/mime/packages/tarnwell.xml) is also how an installed tarnwell
# tells that it is installed and leaves the user's home alone at start.
include(GNUInstallDirs)

# The desktop entry's and the AppStream component's id, and the project's
# addresses (the home page, and where the repository's files are served from
# for the screenshots in the AppStream metadata).
set(TARNWELL_APP_ID "org.example.Tarnwell")
set(TARNWELL_PROJECT_URL "https://example.org/tarnwell" CACHE STRING "The project's home page")
set(TARNWELL_FILES_URL "${TARNWELL_PROJECT_URL}/raw/main" CACHE STRING
    "Where the repository's files can be fetched (the screenshots in docs/)")

set(tarnwell_packaging ${CMAKE_SOURCE_DIR}/packaging)
set(tarnwell_generated ${CMAKE_BINARY_DIR}/packaging)
set(TARNWELL_DOCDIR ${CMAKE_INSTALL_DATADIR}/doc/tarnwell)

install(TARGETS tarnwell tarnwell-run RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

install(FILES ${tarnwell_packaging}/tarnwell.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications RENAME ${TARNWELL_APP_ID}.desktop)
configure_file(${tarnwell_packaging}/tarnwell.metainfo.xml.in
               ${tarnwell_generated}/${TARNWELL_APP_ID}.metainfo.xml @ONLY)
install(FILES ${tarnwell_generated}/${TARNWELL_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${tarnwell_packaging}/tarnwell-mime.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME tarnwell.xml)

# Icons: the scalable drawing and its sizes in pixels, all written from the
# same shapes by res/draw_icons.py (the window shows the same images).
install(FILES ${tarnwell_packaging}/tarnwell.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 16 24 32 48 64 128 256)
  install(FILES ${CMAKE_SOURCE_DIR}/res/tarnwell_${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME tarnwell.png)
endforeach()

# Manual pages, compressed as Debian's manual page reader expects.
find_program(TARNWELL_GZIP NAMES gzip REQUIRED)
set(tarnwell_man_pages)
foreach(page tarnwell.1 tarnwell-run.1)
  set(gz ${tarnwell_generated}/${page}.gz)
  add_custom_command(OUTPUT ${gz}
    COMMAND ${TARNWELL_GZIP} -9n -c ${CMAKE_SOURCE_DIR}/docs/${page} > ${gz}
    DEPENDS ${CMAKE_SOURCE_DIR}/docs/${page}
    COMMENT "Compressing the manual page ${page}")
  install(FILES ${gz} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  list(APPEND tarnwell_man_pages ${gz})
endforeach()
add_custom_target(tarnwell_man_pages ALL DEPENDS ${tarnwell_man_pages})

# Examples: the tour, the demo database's schema and the script that sets up
# the demo data source (it finds the examples beside itself and the installed
# worksheet on PATH).
install(FILES ${CMAKE_SOURCE_DIR}/examples/tour.sql ${CMAKE_SOURCE_DIR}/examples/demo-schema.sql
              ${CMAKE_SOURCE_DIR}/scripts/demo.sh
        DESTINATION ${TARNWELL_DOCDIR}/examples)
