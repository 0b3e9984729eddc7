# `cpack -G DEB` in a build folder: didad_<version>_amd64.deb, installing
# under /usr what `cmake --install` installs. The dependencies are read from
# the program by dpkg-shlibdeps (Qt WebEngine's own brings its helper
# process); the one named here is what no library names: Qt's display
# plugins, without which no window opens.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME didad)
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_VENDOR Divero)
set(CPACK_PACKAGE_CONTACT "Divero <support@divero.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "authoring tool for web-page menus")
set(CPACK_PACKAGE_DESCRIPTION
  "Didad builds sliding menus for web pages: a caption with a panel of your
own HTML that slides out over the page. The menus are shown live in an
embedded browser, where they can be selected and dragged into place. The
result is one script that is both the saved project and the script that
web pages include.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION web)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.divero.example/didad/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
