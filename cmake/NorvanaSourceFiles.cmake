# Read by cpack before it makes a package (CPACK_PROJECT_CONFIG_FILE).
# Every time in a package, of its files and of its archives, is the
# commit's: CPack honours SOURCE_DATE_EPOCH, given here when it is not set.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH} AND CPACK_NORVANA_SOURCE_DATE_EPOCH)
    set(ENV{SOURCE_DATE_EPOCH} ${CPACK_NORVANA_SOURCE_DATE_EPOCH})
endif()

# For the source archive of a git checkout it packs what `git archive` gives
# for the current commit, extracted into a scratch folder, instead of the
# source folder; where git is missing, the patterns of
# CPACK_SOURCE_IGNORE_FILES leave out the usual untracked files.
if(CPACK_INSTALLED_DIRECTORIES) # set for the source archive only
    list(GET CPACK_INSTALLED_DIRECTORIES 0 source_dir)
    find_program(NORVANA_GIT git)
    if(NORVANA_GIT AND EXISTS ${source_dir}/.git)
        set(tree_tar ${CPACK_NORVANA_ARCHIVE_DIR}.tar)
        file(REMOVE_RECURSE ${CPACK_NORVANA_ARCHIVE_DIR} ${tree_tar})
        execute_process(
            COMMAND ${NORVANA_GIT} -C ${source_dir} archive --format=tar -o ${tree_tar} HEAD
            RESULT_VARIABLE status)
        if(NOT status EQUAL 0)
            message(FATAL_ERROR "git archive failed in ${source_dir}")
        endif()
        file(ARCHIVE_EXTRACT INPUT ${tree_tar} DESTINATION ${CPACK_NORVANA_ARCHIVE_DIR})
        file(REMOVE ${tree_tar})
        set(CPACK_INSTALLED_DIRECTORIES ${CPACK_NORVANA_ARCHIVE_DIR} /)
        # Every file there is to be packed; the scratch folder itself lies
        # in a build folder, which the patterns would leave out.
        set(CPACK_IGNORE_FILES "")
    endif()
endif()
