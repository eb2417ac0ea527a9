# What `cmake --install` puts where: the viewer, the recorder beside it (the
# viewer starts it from its own folder) and pln-tool in bin/; on Linux also
# the desktop entry, the icons, the AppStream metainfo, the manual pages and
# the README. pln-demo is a developer's tool and stays in the build.
include(GNUInstallDirs)

set(PLN_APP_ID "org.pln.PLNViewer" CACHE STRING
    "Reverse-DNS id of the desktop entry, the icon and the AppStream metainfo")
set(PLN_HOMEPAGE "https://example.org/pln" CACHE STRING
    "Home page named by the metainfo and the package (placeholder until the project has one)")
set(PLN_MAINTAINER "PLN developers <pln@example.org>" CACHE STRING
    "Maintainer of the Debian package")
set(PLN_RELEASE_DATE "2026-12-07" CACHE STRING "Date of the release of PROJECT_VERSION")

set(pln_installed_programs PLN pln-tool)
if(TARGET PLNViewer)
  list(PREPEND pln_installed_programs PLNViewer)
endif()
install(TARGETS ${pln_installed_programs} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

if(NOT UNIX OR CMAKE_CROSSCOMPILING OR NOT TARGET PLNViewer)
  return()
endif()

find_program(PLN_RSVG_CONVERT rsvg-convert REQUIRED)
find_program(PLN_HELP2MAN help2man REQUIRED)
find_program(PLN_GZIP gzip REQUIRED)

set(data ${PROJECT_SOURCE_DIR}/data)
set(out ${CMAKE_BINARY_DIR}/share)
configure_file(${data}/pln.desktop.in ${out}/${PLN_APP_ID}.desktop @ONLY)
configure_file(${data}/pln.metainfo.xml.in ${out}/${PLN_APP_ID}.metainfo.xml @ONLY)

set(generated)
foreach(size 48 256)
  set(png ${out}/icon-${size}.png)
  add_custom_command(OUTPUT ${png}
    COMMAND ${PLN_RSVG_CONVERT} -w ${size} -h ${size} -o ${png} ${data}/pln.svg
    DEPENDS ${data}/pln.svg VERBATIM)
  list(APPEND generated ${png})
  install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME ${PLN_APP_ID}.png)
endforeach()

# The pages are made from each program's --help and --version, which the
# programs answer before they look for a display or for eMule.
set(man_names_PLNViewer "viewer of eMule's statistics")
set(man_names_PLN "recorder of eMule's statistics")
set(man_names_pln-tool "command-line access to the files of eMule and PLN")
foreach(program ${pln_installed_programs})
  set(page ${out}/man/${program}.1)
  add_custom_command(OUTPUT ${page}.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${out}/man
    COMMAND ${PLN_HELP2MAN} --no-info --include ${data}/man-files.h2m
            --name ${man_names_${program}} --output ${page} $<TARGET_FILE:${program}>
    COMMAND ${PLN_GZIP} -9nf ${page}
    DEPENDS ${program} ${data}/man-files.h2m VERBATIM)
  list(APPEND generated ${page}.gz)
  install(FILES ${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
add_custom_target(pln_desktop_files ALL DEPENDS ${generated})

install(FILES ${out}/${PLN_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${data}/pln.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME ${PLN_APP_ID}.svg)
install(FILES ${out}/${PLN_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/pln)
