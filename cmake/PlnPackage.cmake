# `cpack` in a build folder makes pln_<version>_<arch>.deb of what
# `cmake --install` installs, under /usr, with the library dependencies
# found by dpkg-shlibdeps.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pln)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "PLN")
set(CPACK_PACKAGE_CONTACT ${PLN_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "viewer of the statistics eMule keeps about shared files")
set(CPACK_PACKAGE_DESCRIPTION "PLN lists every file eMule has known with its all-time counters,
and its recorder logs the counters each time eMule saves them, so that the
viewer draws requests, accepted requests and upload rates over time. It also
maintains its logs, repairs known.met and exports ed2k links; pln-tool gives
command-line access to the same files.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${PLN_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${PLN_HOMEPAGE})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Beside the libraries the programs link: the plug-in that shows windows.
set(CPACK_DEBIAN_PACKAGE_DEPENDS qt6-qpa-plugins)
set(CPACK_STRIP_FILES ON)
include(CPack)
