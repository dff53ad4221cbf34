# Read by cpack before it makes a package (CPACK_PROJECT_CONFIG_FILE). For the
# source archive of a git checkout it leaves out every file and folder that
# git does not track, as they are when the archive is made; the patterns of
# CPACK_SOURCE_IGNORE_FILES cover the usual ones where git is missing.
if(CPACK_INSTALLED_DIRECTORIES) # set for the source archive only
    list(GET CPACK_INSTALLED_DIRECTORIES 0 source_dir)
    find_program(NORVANA_GIT git)
    if(NORVANA_GIT)
        execute_process(
            COMMAND ${NORVANA_GIT} -c core.quotePath=off -C ${source_dir} ls-files --others --directory
            OUTPUT_VARIABLE untracked RESULT_VARIABLE status ERROR_QUIET)
        if(status EQUAL 0)
            string(REPLACE "\n" ";" untracked "${untracked}")
            foreach(path IN LISTS untracked)
                if(path STREQUAL "")
                    continue()
                endif()
                set(pattern "${source_dir}/${path}")
                foreach(special "\\" . + * ? ^ $ "(" ")" "[" "]" "|" "{" "}")
                    string(REPLACE "${special}" "\\${special}" pattern "${pattern}")
                endforeach()
                if(NOT path MATCHES "/$")
                    string(APPEND pattern "$")
                endif()
                list(APPEND CPACK_IGNORE_FILES "^${pattern}")
            endforeach()
        endif()
    endif()
endif()
