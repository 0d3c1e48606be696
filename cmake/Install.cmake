# Every file the packages install, one component per layout (included by
# cmake/Packaging.cmake). EXCLUDE_FROM_ALL: a plain `cmake --install` installs
# only the LV2 bundle, by the last rule below.
#   windows  Soravel.dll, the read-me (and Soravel.vst3): the installer and the zip
#   debian   the /usr tree of the .deb
#   tarball  one folder: the binaries side by side, the manual page, a read-me

# Plug-in modules are loaded, never run: no execute bit.
set(soravel_module_perms OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)

# The VST 3 bundle as built, its binary stripped like the targets' when the
# install strips. DEST is relative to the install prefix.
function(soravel_install_vst3 component dest)
  install(DIRECTORY ${SORAVEL_VST3_BUNDLE} DESTINATION ${dest} COMPONENT ${component}
          EXCLUDE_FROM_ALL FILE_PERMISSIONS ${soravel_module_perms}
          DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                WORLD_READ WORLD_EXECUTE)
  get_filename_component(name ${SORAVEL_VST3_BUNDLE} NAME)
  install(CODE "
    if(CMAKE_INSTALL_DO_STRIP)
      file(GLOB binaries \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${dest}/${name}/Contents/x86_64-*/*\")
      foreach(b \${binaries})
        if(NOT IS_DIRECTORY \"\${b}\")
          execute_process(COMMAND \"${CMAKE_STRIP}\" --strip-unneeded \"\${b}\")
        endif()
      endforeach()
    endif()" COMPONENT ${component} EXCLUDE_FROM_ALL)
endfunction()

if(WIN32)
  install(TARGETS Soravel LIBRARY DESTINATION . COMPONENT windows EXCLUDE_FROM_ALL)
  install(FILES ${SORAVEL_PACKAGING_OUT}/README.txt DESTINATION . COMPONENT windows EXCLUDE_FROM_ALL)
  if(SORAVEL_HAS_VST3)
    soravel_install_vst3(windows .)
  endif()
  return()
endif()

get_filename_component(soravel_lv2_name ${SORAVEL_LV2_BUNDLE} NAME)

# The .deb: the folders Debian's plug-in packages use.
install(TARGETS Soravel LIBRARY DESTINATION ${SORAVEL_DEB_VST2_DIR} PERMISSIONS ${soravel_module_perms}
        COMPONENT debian EXCLUDE_FROM_ALL)
install(TARGETS soravel_lv2_dsp soravel_lv2_ui LIBRARY DESTINATION lib/lv2/${soravel_lv2_name}
        PERMISSIONS ${soravel_module_perms} COMPONENT debian EXCLUDE_FROM_ALL)
install(DIRECTORY ${SORAVEL_LV2_BUNDLE}/ DESTINATION lib/lv2/${soravel_lv2_name}
        COMPONENT debian EXCLUDE_FROM_ALL FILES_MATCHING PATTERN "*.ttl")
install(TARGETS soravel-render RUNTIME DESTINATION bin COMPONENT debian EXCLUDE_FROM_ALL)
install(FILES ${SORAVEL_PACKAGING_OUT}/soravel-render.1.gz DESTINATION share/man/man1
        COMPONENT debian EXCLUDE_FROM_ALL)
install(FILES ${SORAVEL_PACKAGING_OUT}/copyright ${SORAVEL_PACKAGING_OUT}/changelog.gz
        DESTINATION share/doc/soravel COMPONENT debian EXCLUDE_FROM_ALL)
if(SORAVEL_HAS_VST3)
  soravel_install_vst3(debian lib/vst3)
endif()

# The tarball: one folder, everything side by side (soravel-render finds the
# Soravel.so beside it).
install(TARGETS Soravel LIBRARY DESTINATION . PERMISSIONS ${soravel_module_perms}
        COMPONENT tarball EXCLUDE_FROM_ALL)
install(TARGETS soravel_lv2_dsp soravel_lv2_ui LIBRARY DESTINATION ${soravel_lv2_name}
        PERMISSIONS ${soravel_module_perms} COMPONENT tarball EXCLUDE_FROM_ALL)
install(DIRECTORY ${SORAVEL_LV2_BUNDLE}/ DESTINATION ${soravel_lv2_name}
        COMPONENT tarball EXCLUDE_FROM_ALL FILES_MATCHING PATTERN "*.ttl")
install(TARGETS soravel-render RUNTIME DESTINATION . COMPONENT tarball EXCLUDE_FROM_ALL)
install(FILES ${SORAVEL_PACKAGING_OUT}/soravel-render.1 ${SORAVEL_PACKAGING_OUT}/README.txt
        DESTINATION . COMPONENT tarball EXCLUDE_FROM_ALL)
if(SORAVEL_HAS_VST3)
  soravel_install_vst3(tarball .)
endif()

# A plain `cmake --install`: the LV2 bundle into SORAVEL_LV2_INSTALL_DIR
# (relative to the prefix, or absolute: ~/.lv2 for one user).
install(TARGETS soravel_lv2_dsp soravel_lv2_ui LIBRARY DESTINATION ${SORAVEL_LV2_INSTALL_DIR}/${soravel_lv2_name})
install(DIRECTORY ${SORAVEL_LV2_BUNDLE}/ DESTINATION ${SORAVEL_LV2_INSTALL_DIR}/${soravel_lv2_name}
        FILES_MATCHING PATTERN "*.ttl")
