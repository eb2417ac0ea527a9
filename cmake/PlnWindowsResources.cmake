# The programs built for Windows carry PLN's icon and a version resource
# with the project's version. data/pln.ico holds the icon of data/pln.svg
# at 16, 24, 32, 48 and 256 pixels, made with
#   rsvg-convert -w N -h N -o N.png data/pln.svg   (for each size N)
#   icotool -c -o data/pln.ico 16.png 24.png 32.png 48.png -r 256.png
if(NOT WIN32)
  return()
endif()

set(pln_rc_descriptions_PLNViewer "PLN, viewer of eMule's statistics")
set(pln_rc_descriptions_PLN "PLN recorder of eMule's statistics")
set(pln_rc_descriptions_pln-tool "PLN command-line tool")
foreach(program PLNViewer PLN pln-tool)
  if(NOT TARGET ${program})
    continue()
  endif()
  set(PLN_RC_NAME ${program})
  set(PLN_RC_DESCRIPTION ${pln_rc_descriptions_${program}})
  set(PLN_RC_ICON ${PROJECT_SOURCE_DIR}/data/pln.ico)
  configure_file(${PROJECT_SOURCE_DIR}/data/pln.rc.in ${CMAKE_BINARY_DIR}/rc/${program}.rc @ONLY)
  target_sources(${program} PRIVATE ${CMAKE_BINARY_DIR}/rc/${program}.rc)
endforeach()
