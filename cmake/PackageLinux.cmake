# The Linux packages: a .deb (component `debian`) and a tarball (`tarball`),
# with soravel-render's manual page, the Debian copyright and changelog.
set(CPACK_GENERATOR DEB TGZ)

# The manual page, its SYNOPSIS and OPTIONS from the table --help prints.
add_executable(soravel_render_manpage ${SORAVEL_PACKAGING_DATA}/man/make_manpage.cpp
                                      ${PROJECT_SOURCE_DIR}/tools/render/usage.cpp)
target_include_directories(soravel_render_manpage PRIVATE ${PROJECT_SOURCE_DIR})
string(TIMESTAMP soravel_man_date "%Y-%m-%d" UTC)  # SOURCE_DATE_EPOCH when set
set(man ${SORAVEL_PACKAGING_OUT}/soravel-render.1)
add_custom_command(
  OUTPUT ${man} ${man}.gz
  COMMAND soravel_render_manpage ${SORAVEL_PACKAGING_DATA}/man/soravel-render.1.in ${man}
          ${PROJECT_VERSION} ${soravel_man_date}
  COMMAND gzip -9nkf ${man}
  DEPENDS soravel_render_manpage ${SORAVEL_PACKAGING_DATA}/man/soravel-render.1.in
  COMMENT "Writing soravel-render's manual page"
  VERBATIM)

# Debian's changelog and copyright.
string(REGEX REPLACE "^www\\." "" soravel_mail_domain ${SORAVEL_VENDOR_HOST})
set(SORAVEL_MAINTAINER "${SORAVEL_VENDOR} <packages@${soravel_mail_domain}>")
set(SORAVEL_DEB_PACKAGE soravel)
set(SORAVEL_DEB_VERSION ${PROJECT_VERSION})
string(TIMESTAMP SORAVEL_DEB_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
string(TIMESTAMP SORAVEL_YEAR "%Y" UTC)
soravel_configure_text(${SORAVEL_PACKAGING_DATA}/debian/changelog.in ${SORAVEL_PACKAGING_OUT}/changelog
                       NEWLINE UNIX)
soravel_configure_text(${SORAVEL_PACKAGING_DATA}/debian/copyright.in ${SORAVEL_PACKAGING_OUT}/copyright
                       NEWLINE UNIX)
soravel_configure_text(${SORAVEL_PACKAGING_DATA}/linux/README.txt.in ${SORAVEL_PACKAGING_OUT}/README.txt
                       NEWLINE UNIX)
add_custom_command(
  OUTPUT ${SORAVEL_PACKAGING_OUT}/changelog.gz
  COMMAND gzip -9nkf ${SORAVEL_PACKAGING_OUT}/changelog
  DEPENDS ${SORAVEL_PACKAGING_OUT}/changelog
  VERBATIM)
add_custom_target(soravel_package_docs ALL DEPENDS ${man} ${man}.gz ${SORAVEL_PACKAGING_OUT}/changelog.gz)

set(CPACK_DEBIAN_PACKAGE_NAME ${SORAVEL_DEB_PACKAGE})
set(CPACK_DEBIAN_PACKAGE_VERSION ${SORAVEL_DEB_VERSION})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)  # soravel_<version>_<arch>.deb
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${SORAVEL_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${CPACK_PACKAGE_HOMEPAGE_URL})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)  # Depends from the binaries, by dpkg-shlibdeps
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The description: its first line is the synopsis, the rest the long text.
file(STRINGS ${SORAVEL_PACKAGING_DATA}/debian/description.txt description)
list(POP_FRONT description CPACK_PACKAGE_DESCRIPTION_SUMMARY)
list(JOIN description "\n" CPACK_DEBIAN_PACKAGE_DESCRIPTION)
set_property(DIRECTORY ${PROJECT_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
             ${SORAVEL_PACKAGING_DATA}/debian/description.txt)
# CPack gives any package with a library under /usr/lib maintainer scripts that
# run ldconfig; plug-ins are not on the linker's path and need none, so the
# package is rebuilt without them (cmake/DebWithoutScripts.cmake).
set(CPACK_POST_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/DebWithoutScripts.cmake)
