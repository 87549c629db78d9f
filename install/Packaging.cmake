# The Debian package (scripts/package.sh), made by CPack's DEB generator
# from the same install rules as the per-user install, under /usr.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kolviplayer)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "small MP3 player with a Korean user interface")
# The summary is the synopsis line; this is the text below it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "KolviPlayer keeps one playlist across runs and plays it in a loop; its
 volume slider is the speaker volume of the sound server. A second window
 shows the lyrics of the playing track, synchronised where the lyrics carry
 times. It shows itself to the desktop's media controls (MPRIS) and opens
 MP3 files from a file manager.")
set(CPACK_DEBIAN_FILE_NAME "kolviplayer_${PROJECT_VERSION}_amd64.deb")
set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE amd64)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${KOLVI_MAKER_NAME} <${KOLVI_MAKER_EMAIL}>")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "http://${KOLVI_HOME_HOST}/")
# The shared libraries' packages, as dpkg-shlibdeps finds them, and a font with Hangul.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-nanum | fonts-noto-cjk")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
include(CPack)
