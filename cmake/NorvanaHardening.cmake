# Debian's hardening flags for optimised builds (Release, RelWithDebInfo,
# MinSizeRel) on Linux: checked buffer functions (fortify needs the
# optimiser), stack protector, read-only relocations and immediate binding.
# Sanitized and fuzz builds go without: the sanitizers do those checks
# themselves and fortified functions hide faults from them.
if(CMAKE_SYSTEM_NAME STREQUAL "Linux" AND CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang"
   AND NOT NORVANA_SANITIZE AND NOT NORVANA_FUZZ)
    set(optimised "$<CONFIG:Release,RelWithDebInfo,MinSizeRel>")
    add_compile_options("$<${optimised}:-U_FORTIFY_SOURCE;-D_FORTIFY_SOURCE=2;-fstack-protector-strong>")
    add_link_options("$<${optimised}:LINKER:-z,relro,-z,now>")
endif()
