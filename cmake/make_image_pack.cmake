# Writes the image pack as a C++ source: a 16-bit count, then per image an
# 8-bit name length, a 32-bit data length, the name and the PNG file's bytes;
# all integers little-endian, no padding. The PNG bytes are taken in by the
# assembler (.incbin): megabytes of images as C initialisers would cost the
# compiler minutes and gigabytes.
#   cmake -DDIR=<png folder> -DNAMES=<a,b,c> -DOUT=<file.cpp> -P make_image_pack.cmake
function(le_bytes value bytes out)
  set(list "")
  foreach(i RANGE 1 ${bytes})
    math(EXPR b "${value} & 255")
    list(APPEND list ${b})
    math(EXPR value "${value} >> 8")
  endforeach()
  string(JOIN "," joined ${list})
  set(${out} "${joined}" PARENT_SCOPE)
endfunction()

string(REPLACE "," ";" NAMES "${NAMES}")
list(LENGTH NAMES count)
le_bytes(${count} 2 head)
set(body "  \".byte ${head}\\n\"\n")
set(total 2)
foreach(name IN LISTS NAMES)
  set(file "${DIR}/${name}.png")
  file(SIZE "${file}" size)
  string(LENGTH "${name}" namelen)
  le_bytes(${namelen} 1 h1)
  le_bytes(${size} 4 h2)
  string(APPEND body "  \".byte ${h1},${h2}\\n\"\n  \".ascii \\\"${name}\\\"\\n\"\n"
         "  \".incbin \\\"${file}\\\"\\n\"\n")
  math(EXPR total "${total} + 5 + ${namelen} + ${size}")
endforeach()
set(content "// Generated from the editor's PNG files at build time; do not edit.
#include <cstddef>

extern const unsigned char kImagePack[];
extern const std::size_t kImagePackSize;
const std::size_t kImagePackSize = ${total};

#ifdef _WIN32
#define SORAVEL_PACK_SECTION \".section .rdata,\\\"dr\\\"\\n\"
#else
#define SORAVEL_PACK_SECTION \".section .rodata\\n\"
#endif
asm(SORAVEL_PACK_SECTION
  \".globl kImagePack\\n\"
  \"kImagePack:\\n\"
${body}  \".text\\n\");
")
# Rewritten only when it changes, so that an unchanged pack is not recompiled.
if(EXISTS "${OUT}")
  file(READ "${OUT}" old)
  if(old STREQUAL content)
    return()
  endif()
endif()
file(WRITE "${OUT}" "${content}")
