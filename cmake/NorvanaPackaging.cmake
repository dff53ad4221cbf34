# CPack: a Debian package of what `cmake --install` installs (the program,
# its .desktop file, icons and AppStream metainfo), for /usr.
#   cpack -G DEB --config BUILD/CPackConfig.cmake
set(CPACK_PACKAGE_NAME norvana)
set(CPACK_PACKAGE_VENDOR "Norvana")
set(CPACK_PACKAGE_CONTACT "Norvana <norvana@localhost>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_DESCRIPTION
    "Norvana calcola il punteggio di rischio di infezione batterica severa (SBI) da procalcitonina (PCT), proteina C reattiva (PCR) e dipstick urinario.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
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
# (dpkg-dev); what the program loads or needs at run time besides them is
# named here: the X11/Wayland platform plugins and the layout's font.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-liberation2")
# Qt's own texts in Italian, loaded when installed; the program runs without.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")

include(CPack)
