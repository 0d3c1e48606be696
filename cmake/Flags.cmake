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
