# The one place that holds the compiler and linker switches of both targets.
# Both targets must run the same arithmetic: no fast-math, no fused multiply-add,
# baseline x86-64 (SSE2) code, and no flush-to-zero mode anywhere.
add_compile_options(
  -Wall -Wextra -Werror
  -ffp-contract=off -fno-fast-math
  -march=x86-64 -mtune=generic
  -fno-exceptions
)

if(WIN32)
  # Fully static Windows binaries: nothing beyond the DLLs Windows ships.
  add_link_options(-static -static-libgcc -static-libstdc++)
else()
  add_compile_options(-fPIC)
endif()

if(SORAVEL_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
endif()
if(SORAVEL_TSAN)
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
endif()

# Every library keeps its symbols to itself: a plug-in binary exports only its
# format's entry points, and unused code goes at link time.
set(CMAKE_CXX_VISIBILITY_PRESET hidden)
set(CMAKE_VISIBILITY_INLINES_HIDDEN ON)
add_compile_options(-ffunction-sections -fdata-sections)

# A binary that hosts load: no "lib" prefix, only the entry points the file
# EXPORTS names (a version script on Linux, a module-definition file on Windows),
# no undefined symbols, unused sections dropped.
#   soravel_plugin_module(target EXPORTS file [OUTPUT_NAME name] [SUFFIX .ext]
#                         [OUTPUT_DIRECTORY dir])
function(soravel_plugin_module target)
  cmake_parse_arguments(M "" "EXPORTS;OUTPUT_NAME;SUFFIX;OUTPUT_DIRECTORY" "" ${ARGN})
  set_target_properties(${target} PROPERTIES PREFIX "")
  foreach(property OUTPUT_NAME SUFFIX)
    if(M_${property})
      set_target_properties(${target} PROPERTIES ${property} ${M_${property}})
    endif()
  endforeach()
  if(M_OUTPUT_DIRECTORY)
    set_target_properties(${target} PROPERTIES LIBRARY_OUTPUT_DIRECTORY ${M_OUTPUT_DIRECTORY})
  endif()
  target_link_options(${target} PRIVATE -Wl,--gc-sections)
  if(WIN32)
    target_sources(${target} PRIVATE ${M_EXPORTS})
  else()
    target_link_options(${target} PRIVATE -Wl,--version-script=${M_EXPORTS} -Wl,--no-undefined)
    set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${M_EXPORTS})
  endif()
endfunction()
