# The version as Norvana shows it, from the project's version: major.minor
# with a two-digit minor ("1.00" for 1.0.0), then the patch after a third dot
# when it is not 0 ("1.00.1" for 1.0.1). The program, its file information,
# the packages and Windows Installer (the MSI's version and the ProductCode
# made from it) all take this text, so each release is a product of its own.
# Windows Installer compares only the first three numbers, so the fourth
# (the file version's last) must stay 0.
#   include(cmake/NorvanaVersion.cmake); norvana_version_text(1.0.1 text)
#   cmake -DVERSION=1.0.1 -P cmake/NorvanaVersion.cmake   prints 1.00.1
function(norvana_version_text version out)
    if(NOT version MATCHES "^([0-9]+)\\.([0-9]+)(\\.([0-9]+))?(\\.([0-9]+))?$")
        message(FATAL_ERROR "\"${version}\" is not a version of up to four numbers")
    endif()
    set(major ${CMAKE_MATCH_1})
    set(minor ${CMAKE_MATCH_2})
    set(patch ${CMAKE_MATCH_4})
    if(CMAKE_MATCH_6 AND NOT CMAKE_MATCH_6 EQUAL 0)
        message(FATAL_ERROR "Version ${version}: Windows Installer ignores the fourth number, "
                            "so a release changes one of the first three")
    endif()
    if(minor LESS 10)
        set(minor 0${minor})
    endif()
    set(text ${major}.${minor})
    if(patch AND NOT patch EQUAL 0)
        string(APPEND text .${patch})
    endif()
    set(${out} ${text} PARENT_SCOPE)
endfunction()

if(CMAKE_SCRIPT_MODE_FILE AND DEFINED VERSION)
    norvana_version_text(${VERSION} text)
    message(NOTICE ${text})
endif()
