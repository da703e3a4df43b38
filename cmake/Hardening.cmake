# Hardening of the Linux binaries as Debian builds its packages: fortified libc calls, and a
# read-only relocation table bound at start-up. Left out of the sanitizer build (which has
# checks of its own), of Windows builds (PE has no RELRO) and of WebAssembly.
option(MTD_HARDEN "Build Linux binaries with Debian's hardening flags" ON)

if(MTD_HARDEN AND NOT MTD_SANITIZE AND NOT WIN32 AND NOT EMSCRIPTEN AND CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
  # _FORTIFY_SOURCE only acts (and only stays quiet) when optimising; undefined first in case
  # the compiler sets a level of its own.
  add_compile_options(
    $<$<AND:$<COMPILE_LANGUAGE:CXX>,$<NOT:$<CONFIG:Debug>>>:-U_FORTIFY_SOURCE>
    $<$<AND:$<COMPILE_LANGUAGE:CXX>,$<NOT:$<CONFIG:Debug>>>:-D_FORTIFY_SOURCE=2>)
  add_link_options(-Wl,-z,relro -Wl,-z,now)
endif()
