# The Debian package: exactly the installation of cmake/Install.cmake under
# /usr, built by CPack (scripts/package runs it and checks it with lintian).
# Library dependencies come from dpkg-shlibdeps; the spelling dictionary, the
# icon theme and the Qt platform plugins are named here because no linked
# library leads to them. The package's triggers refresh the MIME, desktop and
# icon caches when it is installed or removed.

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME marrowick-sealbook)
set(CPACK_PACKAGE_VENDOR Marrowick)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${SEALBOOK_MAINTAINER})
set(CPACK_PACKAGE_HOMEPAGE_URL ${SEALBOOK_HOME_PAGE})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "password-protected organiser for notes and confidential records")
# Debian wants the lines of the long description within 80 columns.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Marrowick Sealbook keeps notes and confidential records (card numbers,\n\
web log-ins, passport details) in one file, enciphered with AES-256 under a\n\
key made from its password: a tree of folders and notes, each note with a\n\
formatted text, labelled data fields from a template, an attached file and\n\
an icon.\n\
This package holds Wrendesk, the desktop edition; Wrenpad, the edition for\n\
phones and small tablets; and sealbook, a command-line companion that lists,\n\
exports and rebuilds databases from scripts.")
# The installation does not depend on its prefix; the package's is /usr.
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
if(SEALBOOK_BUILD_GUI)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "hunspell-en-us, breeze-icon-theme, qt6-qpa-plugins")
endif()
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
configure_file(${PROJECT_SOURCE_DIR}/res/linux/triggers ${PROJECT_BINARY_DIR}/deb-control/triggers COPYONLY)
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${PROJECT_BINARY_DIR}/deb-control/triggers)
# Only what cmake/Install.cmake installs; nothing of the build or the sources.
set(CPACK_INSTALL_CMAKE_PROJECTS "${PROJECT_BINARY_DIR};${PROJECT_NAME};ALL;/")
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/package)
include(CPack)
