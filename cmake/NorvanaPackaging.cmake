# CPack: a Debian package of what `cmake --install` installs (the program,
# its manual page, .desktop file, icons and AppStream metainfo) and of the
# Debian copyright file and changelog, for /usr, with its bill of materials
# beside it; and a source archive of the tracked files.
#   cpack -G DEB --config BUILD/CPackConfig.cmake
#   cmake --build BUILD --target package_source
include(GNUInstallDirs)

# The Debian copyright file (machine-readable format) with the licence's text
# from LICENSE, and a Debian changelog of this version, in share/doc/norvana
# as a Debian package has them.
if(UNIX AND NOT APPLE)
    set(doc_dir ${CMAKE_CURRENT_BINARY_DIR}/doc)
    file(READ ${CMAKE_CURRENT_SOURCE_DIR}/LICENSE licence)
    # The permission and the disclaimer, after the title and copyright line.
    string(REGEX REPLACE "^.*Copyright \\(c\\)[^\n]*\n\n" "" licence "${licence}")
    string(REGEX REPLACE "\n+$" "" licence "${licence}")
    string(REPLACE "\n\n" "\n.\n" licence "${licence}")
    string(REPLACE "\n" "\n " licence "${licence}")
    file(WRITE ${doc_dir}/copyright
"Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: Norvana
Upstream-Contact: ${NORVANA_MAINTAINER}

Files: *
Copyright: 2026 ${NORVANA_MAINTAINER}
License: Expat

License: Expat
 ${licence}
")

    # The release day as the changelog writes it (RFC 5322, weekday included).
    execute_process(COMMAND date -u -R -d ${NORVANA_RELEASE_DATE}
                    OUTPUT_VARIABLE changelog_date OUTPUT_STRIP_TRAILING_WHITESPACE
                    COMMAND_ERROR_IS_FATAL ANY)
    file(WRITE ${doc_dir}/changelog
"norvana (${NORVANA_VERSION_TEXT}) stable; urgency=medium

  * Norvana ${NORVANA_VERSION_TEXT}.

 -- ${NORVANA_MAINTAINER}  ${changelog_date}
")
    add_custom_command(OUTPUT doc/changelog.gz
        COMMAND gzip -9nc changelog > changelog.gz
        DEPENDS ${doc_dir}/changelog
        WORKING_DIRECTORY ${doc_dir}
        COMMENT "Compressing the changelog")
    add_custom_target(norvana_changelog ALL DEPENDS doc/changelog.gz)
    # Only the .deb carries them: CPack runs this script before its install
    # of the project, while a plain `cmake --install` leaves them to a
    # distribution's own packaging.
    file(WRITE ${doc_dir}/install-deb-docs.cmake
"if(CPACK_GENERATOR STREQUAL \"DEB\")
    set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS ${CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS})
    file(INSTALL \"${doc_dir}/copyright\" \"${doc_dir}/changelog.gz\"
         DESTINATION \"\${CPACK_PACKAGING_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/doc/norvana\")
endif()
")
    set(CPACK_INSTALL_SCRIPTS ${doc_dir}/install-deb-docs.cmake)
endif()

# Variables reach CPack as written here, without a second round of escaping.
set(CPACK_VERBATIM_VARIABLES ON)
# Two builds of one commit give the same packages, byte for byte: every time
# in them is the commit's (NORVANA_SOURCE_DATE_EPOCH, given to cpack in
# NorvanaSourceFiles.cmake), the folders are rwxr-xr-x whatever the umask
# (CMakeLists.txt), and the .deb's members get the mode dpkg-deb gives them
# (NorvanaDebMembers.cmake).
set(CPACK_NORVANA_SOURCE_DATE_EPOCH ${NORVANA_SOURCE_DATE_EPOCH})
set(CPACK_POST_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/NorvanaDebMembers.cmake)
set(CPACK_PACKAGE_NAME norvana)
set(CPACK_PACKAGE_VENDOR "Norvana")
set(CPACK_PACKAGE_CONTACT "${NORVANA_MAINTAINER}")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
# The package's version is the program's own, as --version shows it.
set(CPACK_DEBIAN_PACKAGE_VERSION ${NORVANA_VERSION_TEXT})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "risk score for serious bacterial infection from PCT, CRP and dipstick")
# Lines of at most 80 characters, as the package's control file needs them;
# an empty line separates paragraphs.
set(CPACK_PACKAGE_DESCRIPTION [[
Norvana is a one-window desktop calculator with an Italian interface. A
clinician types procalcitonin (PCT, ng/ml) and C-reactive protein (CRP, mg/L)
and picks the urine dipstick result; Norvana gives a score from 0 to 9, where
3 or more is predictive of serious bacterial infection (SBI). Values that are
not plausible are refused with a warning.

Norvana is a decision aid: it does not replace clinical judgement. It stores
nothing: no files, settings or network.]])
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_CURRENT_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)
if(NOT CPACK_GENERATOR)
    if(UNIX AND NOT APPLE)
        set(CPACK_GENERATOR DEB)
    else()
        set(CPACK_GENERATOR ZIP)
    endif()
endif()

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The shared libraries (Qt, the C++ runtime) come from dpkg-shlibdeps
# (dpkg-dev); besides them the program needs the layout's font. The X11
# platform plugin comes with Qt's GUI library; the Wayland one, for a
# Wayland desktop without X11, with qt6-wayland.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation2")
# The Wayland platform plugin, and Qt's own texts in Italian, loaded when
# installed; the program runs without either.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland, qt6-translations-l10n")
# Beside the .deb, its bill of materials (CycloneDX): the installed program's
# SHA-256 and the packages of Depends at the versions installed here.
set(CPACK_NORVANA_SBOM ${CMAKE_CURRENT_SOURCE_DIR}/scripts/sbom.py)
list(APPEND CPACK_POST_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/NorvanaDebSbom.cmake)

# The source archive: in a git checkout, the committed files as `git archive`
# gives them (cmake/NorvanaSourceFiles.cmake, read by cpack); elsewhere the
# source folder without build folders and the usual untracked files.
set(CPACK_SOURCE_GENERATOR TGZ)
set(CPACK_SOURCE_PACKAGE_FILE_NAME norvana-${PROJECT_VERSION})
set(CPACK_SOURCE_IGNORE_FILES "/\\.git$" "/\\.git/" "/build[^/]*/" "/\\.cache/" "/compile_commands\\.json$")
set(CPACK_NORVANA_ARCHIVE_DIR ${CMAKE_CURRENT_BINARY_DIR}/source-archive)
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/NorvanaSourceFiles.cmake)

include(CPack)
