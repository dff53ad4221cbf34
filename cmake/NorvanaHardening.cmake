# Debian's hardening flags for optimised builds (Release, RelWithDebInfo,
# MinSizeRel) on Linux: checked buffer functions (fortify needs the
# optimiser), stack protector, read-only relocations and immediate binding.
# A fortify level the compiler flags already give (a packager's CXXFLAGS or
# CMAKE_CXX_FLAGS) is kept as it is. Sanitized and fuzz builds go without: the sanitizers do
# those checks themselves and fortified functions hide faults from them.
if(CMAKE_SYSTEM_NAME STREQUAL "Linux" AND CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang"
   AND NOT NORVANA_SANITIZE AND NOT NORVANA_FUZZ)
    set(optimised "$<CONFIG:Release,RelWithDebInfo,MinSizeRel>")
    set(given_flags "${CMAKE_CXX_FLAGS} ${CMAKE_CXX_FLAGS_RELEASE} ${CMAKE_CXX_FLAGS_RELWITHDEBINFO} "
                    "${CMAKE_CXX_FLAGS_MINSIZEREL}")
    if(NOT given_flags MATCHES "_FORTIFY_SOURCE")
        add_compile_options("$<${optimised}:-D_FORTIFY_SOURCE=2>")
    endif()
    add_compile_options("$<${optimised}:-fstack-protector-strong>")
    add_link_options("$<${optimised}:LINKER:-z,relro,-z,now>")
endif()
