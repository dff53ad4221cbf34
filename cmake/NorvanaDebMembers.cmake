# Run by cpack after it has made the packages (CPACK_POST_BUILD_SCRIPTS).
# CPack gives the members of a .deb (debian-binary, control.tar.gz,
# data.tar.gz) the modes that the umask gave their files; dpkg-deb writes
# 100644 whatever the umask, and so does this, in the mode field (8 bytes
# from byte 40) of each member's 60-byte ar header.
set(mode_file ${CPACK_TOPLEVEL_DIRECTORY}/ar-member-mode)
file(WRITE ${mode_file} "100644  ")
foreach(package IN LISTS CPACK_PACKAGE_FILES)
    if(NOT package MATCHES "\\.deb$")
        continue()
    endif()
    file(SIZE ${package} package_size)
    set(header 8) # after "!<arch>\n"
    while(header LESS package_size)
        math(EXPR size_at "${header} + 48")
        file(READ ${package} member_size OFFSET ${size_at} LIMIT 10)
        string(STRIP "${member_size}" member_size)
        math(EXPR mode_at "${header} + 40")
        execute_process(COMMAND dd of=${package} bs=1 seek=${mode_at} conv=notrunc status=none
                        INPUT_FILE ${mode_file} COMMAND_ERROR_IS_FATAL ANY)
        # Members start on an even byte.
        math(EXPR header "${header} + 60 + ${member_size} + ${member_size} % 2")
    endwhile()
endforeach()
