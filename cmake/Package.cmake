# `cpack -G DEB` in the build folder: trovelin_<version>_amd64.deb with both programs, the desktop
# files, the thumbnailer and the manual pages. Its dependencies are computed from the binaries by
# dpkg-shlibdeps; the desktop, MIME and icon caches are refreshed by the dpkg triggers of the
# packages that own them, as for every Debian package, so it needs no maintainer scripts.
include(GNUInstallDirs)

set(TROVELIN_PACKAGE_DOCS share/doc/trovelin)
configure_file(${CMAKE_CURRENT_LIST_DIR}/debian/changelog.in ${PROJECT_BINARY_DIR}/debian/changelog @ONLY)
add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/debian/changelog.gz
                   COMMAND gzip -9nkf ${PROJECT_BINARY_DIR}/debian/changelog
                   DEPENDS ${PROJECT_BINARY_DIR}/debian/changelog VERBATIM)
add_custom_target(debian_changelog ALL DEPENDS ${PROJECT_BINARY_DIR}/debian/changelog.gz)
# Debian's policy files, and the samples as examples rather than beside the programs in /usr/bin;
# a plain `cmake --install` leaves these out.
install(FILES ${CMAKE_CURRENT_LIST_DIR}/debian/copyright ${PROJECT_BINARY_DIR}/debian/changelog.gz
        DESTINATION ${TROVELIN_PACKAGE_DOCS} COMPONENT debian EXCLUDE_FROM_ALL)
file(GLOB TROVELIN_PACKAGE_SAMPLES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/samples/*.kvr)
install(FILES ${TROVELIN_PACKAGE_SAMPLES} DESTINATION ${TROVELIN_PACKAGE_DOCS}/examples COMPONENT debian EXCLUDE_FROM_ALL)
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME trovelin)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Trovelin developers <trovelin@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "viewer of the pictures in lighting-control panel files")
set(CPACK_PACKAGE_DESCRIPTION "Trovelin gathers the pictures stored in lighting-control panel files (.kvr):
the panel's background and the glyphs of its buttons. The viewer shows them as
a grid of thumbnails and copies the one you pick to the clipboard.
trovelin-cli lists, saves and renders them without a screen, and makes the
thumbnails that file managers show for panel files.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
# The samples' plain install beside the programs stays out of the package.
set(CPACK_INSTALL_CMAKE_PROJECTS
    "${PROJECT_BINARY_DIR};${PROJECT_NAME};Unspecified;/"
    "${PROJECT_BINARY_DIR};${PROJECT_NAME};desktop;/"
    "${PROJECT_BINARY_DIR};${PROJECT_NAME};debian;/")
include(CPack)
