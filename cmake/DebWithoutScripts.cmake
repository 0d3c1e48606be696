# Run by cpack after the packages are made (CPACK_POST_BUILD_SCRIPTS): takes
# the maintainer scripts CPack's DEB generator adds for ldconfig out of the
# .deb and builds it again with dpkg-deb, owned by root as before.
foreach(package IN LISTS CPACK_PACKAGE_FILES)
  if(NOT package MATCHES "\\.deb$")
    continue()
  endif()
  set(work "${CPACK_TOPLEVEL_DIRECTORY}/deb-without-scripts")
  file(REMOVE_RECURSE "${work}")
  execute_process(COMMAND dpkg-deb -R "${package}" "${work}" COMMAND_ERROR_IS_FATAL ANY)
  file(REMOVE "${work}/DEBIAN/postinst" "${work}/DEBIAN/postrm")
  execute_process(COMMAND dpkg-deb --root-owner-group -Zxz -b "${work}" "${package}"
                  OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
  file(REMOVE_RECURSE "${work}")
endforeach()
