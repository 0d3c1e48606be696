# The packages users install, built by the `package` target (CPack):
#   win tree:    Soravel-<version>-win64-setup.exe (NSIS) and Soravel-<version>-win64.zip
#   native tree: soravel_<version>_amd64.deb and Soravel-<version>-linux-x86_64.tar.gz
# Names, version and vendor come from the top-level CMakeLists.txt. The files
# each package holds are the install rules of cmake/Install.cmake, one
# component per layout; the per-system settings are in PackageWindows.cmake
# and PackageLinux.cmake; docs/packaging.md explains the choices.
#
# Included after every product target is defined (the plug-in formats'
# folders included), so that `if(TARGET ...)` sees them all.

set(SORAVEL_PACKAGING_DATA ${PROJECT_SOURCE_DIR}/tools/packaging)
set(SORAVEL_PACKAGING_OUT ${PROJECT_BINARY_DIR}/packaging)
file(MAKE_DIRECTORY ${SORAVEL_PACKAGING_OUT})

# The VST 3 bundle, once its target exists: SORAVEL_VST3_BUNDLE is its folder.
set(SORAVEL_HAS_VST3 OFF)
if(TARGET soravel_vst3 AND DEFINED SORAVEL_VST3_BUNDLE)
  set(SORAVEL_HAS_VST3 ON)
endif()

# A text template: @VARIABLES@ filled in, and its "[vst3]" lines kept only
# when the VST 3 bundle is packaged.
function(soravel_configure_text template out)
  cmake_parse_arguments(T "" "NEWLINE" "" ${ARGN})
  set(SORAVEL_NAME ${PROJECT_NAME})
  set(SORAVEL_VERSION ${PROJECT_VERSION})
  file(READ ${template} text)
  if(SORAVEL_HAS_VST3)
    string(REPLACE "[vst3]" "" text "${text}")
  else()
    string(REGEX REPLACE "\\[vst3\\][^\n]*\n" "" text "${text}")
  endif()
  string(CONFIGURE "${text}" text @ONLY)
  file(CONFIGURE OUTPUT ${out} CONTENT "${text}" @ONLY NEWLINE_STYLE ${T_NEWLINE})
  set_property(DIRECTORY ${PROJECT_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${template})
endfunction()

set(CPACK_PACKAGE_NAME ${PROJECT_NAME})
set(CPACK_PACKAGE_VENDOR ${SORAVEL_VENDOR})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_HOMEPAGE_URL "https://${SORAVEL_VENDOR_HOST}/")
set(CPACK_PACKAGE_INSTALL_DIRECTORY ${PROJECT_NAME})
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR})  # the packages land at the top of the tree
set(CPACK_STRIP_FILES ON)
# Per generator: file name and which component (layout) goes in.
set(CPACK_PROJECT_CONFIG_FILE ${SORAVEL_PACKAGING_OUT}/CPackOptions.cmake)

include(${CMAKE_CURRENT_LIST_DIR}/Install.cmake)
if(WIN32)
  include(${CMAKE_CURRENT_LIST_DIR}/PackageWindows.cmake)
else()
  include(${CMAKE_CURRENT_LIST_DIR}/PackageLinux.cmake)
endif()
configure_file(${CMAKE_CURRENT_LIST_DIR}/CPackOptions.cmake.in ${CPACK_PROJECT_CONFIG_FILE} @ONLY)
include(CPack)
