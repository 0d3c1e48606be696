# The Windows packages: an NSIS installer from our own template
# (tools/packaging/windows/NSIS.template.in: CPack's default script cannot
# take the DLL to the VST 2 folder, remember it or check for a DLL in use)
# and a zip, both of the `windows` component.
find_program(SORAVEL_MAKENSIS makensis)
if(NOT SORAVEL_MAKENSIS)
  message(STATUS "makensis not found: the package target makes the zip alone (tools/setup.sh installs nsis)")
  set(CPACK_GENERATOR ZIP)
else()
  set(CPACK_GENERATOR NSIS ZIP)
  set(CPACK_NSIS_EXECUTABLE ${SORAVEL_MAKENSIS})
endif()
set(CPACK_MODULE_PATH ${SORAVEL_PACKAGING_DATA}/windows)
set(CPACK_SORAVEL_NSIS_DEFINES "")
if(SORAVEL_HAS_VST3)
  set(CPACK_SORAVEL_NSIS_DEFINES "!define SORAVEL_VST3")
endif()
soravel_configure_text(${SORAVEL_PACKAGING_DATA}/windows/README.txt.in ${SORAVEL_PACKAGING_OUT}/README.txt
                       NEWLINE CRLF)
