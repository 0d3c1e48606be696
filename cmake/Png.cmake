# libpng: Debian's natively; for Windows a static build from Debian's source
# package (tools/deps/libpng-mingw.sh) against mingw's static zlib.
if(CMAKE_CROSSCOMPILING)
  set(SORAVEL_LIBPNG_MINGW ${PROJECT_BINARY_DIR}/../deps/libpng-mingw CACHE PATH "static libpng for Windows")
  if(NOT EXISTS ${SORAVEL_LIBPNG_MINGW}/lib/libpng.a)
    message(FATAL_ERROR "libpng for Windows missing: run tools/deps/libpng-mingw.sh ${SORAVEL_LIBPNG_MINGW}")
  endif()
  add_library(soravel_png INTERFACE)
  target_include_directories(soravel_png SYSTEM INTERFACE ${SORAVEL_LIBPNG_MINGW}/include)
  target_link_libraries(soravel_png INTERFACE ${SORAVEL_LIBPNG_MINGW}/lib/libpng.a
                        /usr/x86_64-w64-mingw32/lib/libz.a)
else()
  find_package(PNG REQUIRED)
  add_library(soravel_png INTERFACE)
  target_link_libraries(soravel_png INTERFACE PNG::PNG)
endif()
