# Installing the program as a Linux desktop program, and its Debian package.
#
#   bin/verbonik, bin/verbonik-console
#   lib/verbonik/audio/verbonik-audio.so  the sound output, loaded by verbonik
#   share/verbonik/              the shipped program folder (Base, Sound, Images,
#                                Config.ini, ReadMe.Txt): copied into the user's
#                                ~/.local/share/verbonik on first start
#   share/applications/          the menu entry
#   share/icons/hicolor/         the icon, drawn as SVG and rendered to PNG
#   share/metainfo/              AppStream metadata for software centres
#   share/doc/verbonik/          README and the knowledge-base authors' guide
#
# The programs find the shipped folder as ../share/verbonik beside their own
# folder, so the layout under the prefix must stay as it is here.
#
#   cmake --install build --prefix /tmp/somewhere     # a private install
#   (cd build && cpack -G DEB)                        # verbonik_<version>_<arch>.deb

set(VB_APP_ID io.github.verbonik.Verbonik)
set(_pkg ${CMAKE_CURRENT_LIST_DIR}/../packaging)

install(TARGETS verbonik-console RUNTIME DESTINATION bin)
if(TARGET verbonik)
  install(TARGETS verbonik RUNTIME DESTINATION bin)
  # Found by the program as ../lib/verbonik/audio beside its own folder (a folder
  # of its own, so the package does not run ldconfig for a private module).
  install(TARGETS verbonik-audio LIBRARY DESTINATION lib/verbonik/audio)
endif()

install(DIRECTORY ${PROJECT_SOURCE_DIR}/data/ DESTINATION share/verbonik)

install(FILES ${_pkg}/${VB_APP_ID}.desktop DESTINATION share/applications)
install(FILES ${_pkg}/${VB_APP_ID}.metainfo.xml DESTINATION share/metainfo)
install(FILES ${_pkg}/icons/${VB_APP_ID}.svg DESTINATION share/icons/hicolor/scalable/apps)
foreach(_size 48 128 256)
  install(FILES ${_pkg}/icons/${_size}x${_size}/${VB_APP_ID}.png
          DESTINATION share/icons/hicolor/${_size}x${_size}/apps)
endforeach()
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION share/doc/verbonik)
if(EXISTS ${PROJECT_SOURCE_DIR}/docs/knowledge-base.md)
  install(FILES ${PROJECT_SOURCE_DIR}/docs/knowledge-base.md DESTINATION share/doc/verbonik)
endif()

# ---- the Debian package -------------------------------------------------------
set(CPACK_PACKAGE_NAME verbonik)
set(CPACK_PACKAGE_VENDOR "Verbonik developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Verbonik developers <verbonik@users.noreply.github.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Russian-speaking conversational program that learns")
# The summary line comes from CPACK_PACKAGE_DESCRIPTION_SUMMARY.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Verbonik answers typed Russian phrases from a knowledge base of plain
Windows-1251 text files, keeps up threads of conversation, speaks on its own
after a silence, and grows its knowledge base by learning from the replies it
gets. Each user's knowledge base lives in ~/.local/share/verbonik.
.
The package holds the Qt desktop program (verbonik) and the terminal program
(verbonik-console), which can also check a knowledge base written by hand.")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
# dpkg-shlibdeps (package dpkg-dev) adds the exact library packages the
# programs link, Qt 6 among them; what it cannot see is named here: the Qt
# platform plugins that open a window. Without dpkg-shlibdeps the Qt 6
# runtime packages are named by hand.
find_program(VB_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(VB_DPKG_SHLIBDEPS)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
endif()
if(TARGET verbonik)
  if(VB_DPKG_SHLIBDEPS)
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
  else()
    set(CPACK_DEBIAN_PACKAGE_DEPENDS
        "libqt6core6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6widgets6 (>= 6.4), libqt6multimedia6 (>= 6.4), qt6-qpa-plugins, libstdc++6, libc6")
  endif()
  # The desktop of today: native Wayland windows, Qt's own Russian texts for
  # the standard dialogs and context menus.
  string(APPEND CPACK_DEBIAN_PACKAGE_DEPENDS ", qt6-wayland, qt6-translations-l10n")
  # Faces with Cyrillic letters for the fonts the program asks for.
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-dejavu-core | fonts-liberation")
elseif(NOT VB_DPKG_SHLIBDEPS)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "libstdc++6, libc6")
endif()
set(CPACK_GENERATOR DEB)
set(CPACK_SOURCE_GENERATOR TGZ)
set(CPACK_SOURCE_IGNORE_FILES "/\\\\.git/" "/build[^/]*/")
include(CPack)

# ---- the test of an installed program ---------------------------------------
# Installs into a temporary prefix and runs the installed console as a new
# user would (tests/e2e/install_e2e_test.cpp); the test finds this build
# folder through VB_BINARY_DIR.
