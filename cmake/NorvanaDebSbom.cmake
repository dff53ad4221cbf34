# Run by cpack after it has made the packages in its staging folder
# (CPACK_POST_BUILD_SCRIPTS): the bill of materials of the .deb, written by
# scripts/sbom.py, as NAME.sbom.cdx.json where the .deb goes.
if(CPACK_GENERATOR STREQUAL "DEB")
    foreach(package IN LISTS CPACK_PACKAGE_FILES)
        get_filename_component(name ${package} NAME_WLE)
        set(sbom ${CPACK_OUTPUT_FILE_PREFIX}/${name}.sbom.cdx.json)
        execute_process(COMMAND ${CPACK_NORVANA_SBOM} deb ${package} OUTPUT_FILE ${sbom}
                        COMMAND_ERROR_IS_FATAL ANY)
        message(STATUS "Bill of materials: ${sbom}")
    endforeach()
endif()
