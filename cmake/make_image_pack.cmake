# Writes the image pack as a C++ source: a 16-bit count, then per image an
# 8-bit name length, a 32-bit data length, the name and the PNG file's bytes;
# all integers little-endian, no padding.
#   cmake -DDIR=<png folder> -DNAMES=<a,b,c> -DOUT=<file.cpp> -P make_image_pack.cmake
function(le_hex value bytes out)
  set(hex "")
  foreach(i RANGE 1 ${bytes})
    math(EXPR b "${value} & 255" OUTPUT_FORMAT HEXADECIMAL)
    string(REPLACE "0x" "" b "${b}")
    string(LENGTH "${b}" len)
    if(len EQUAL 1)
      set(b "0${b}")
    endif()
    string(APPEND hex "${b}")
    math(EXPR value "${value} >> 8")
  endforeach()
  set(${out} "${hex}" PARENT_SCOPE)
endfunction()

string(REPLACE "," ";" NAMES "${NAMES}")
list(LENGTH NAMES count)
le_hex(${count} 2 pack)
foreach(name IN LISTS NAMES)
  file(READ "${DIR}/${name}.png" data HEX)
  string(LENGTH "${data}" hexlen)
  math(EXPR size "${hexlen} / 2")
  string(LENGTH "${name}" namelen)
  le_hex(${namelen} 1 h1)
  le_hex(${size} 4 h2)
  string(HEX "${name}" h3)
  string(APPEND pack "${h1}${h2}${h3}${data}")
endforeach()
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," body "${pack}")
string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n" body "${body}")
file(WRITE "${OUT}" "// Generated from the editor's PNG files at build time; do not edit.\n"
  "#include <cstddef>\n\n"
  "extern const unsigned char kImagePack[];\n"
  "extern const std::size_t kImagePackSize;\n"
  "const unsigned char kImagePack[] = {\n${body}};\n"
  "const std::size_t kImagePackSize = sizeof(kImagePack);\n")
