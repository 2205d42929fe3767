# What a Debian package of Corvalen-Pro holds besides the commands (which
# their own folders install): the menu entry, the icon in the hicolor theme,
# the AppStream metadata and the package's documents; then CPack's settings
# for the package itself. scripts/package.sh builds it.
set(packaging_dir ${PROJECT_SOURCE_DIR}/packaging)
set(CORVALEN_APP_ID com.ostrel.CorvalenPro)

install(FILES ${packaging_dir}/${CORVALEN_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${packaging_dir}/${CORVALEN_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The nightly backup as systemd user units, off until the user enables the
# timer (systemctl --user enable --now corvalen-backup.timer). The service
# starts the package's corvalen-cli, in /usr/bin.
install(FILES ${packaging_dir}/systemd/corvalen-backup.service ${packaging_dir}/systemd/corvalen-backup.timer
  DESTINATION lib/systemd/user)

# The icon is drawn once, as a drawing; the usual sizes are rendered from it.
find_program(RSVG_CONVERT rsvg-convert)
set(icon_svg ${packaging_dir}/corvalen-pro.svg)
install(FILES ${icon_svg} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
if(RSVG_CONVERT AND NOT CORVALEN_SANITIZE)
  set(icon_pngs)
  foreach(size 16 22 24 32 48 64 128 256)
    set(png ${CMAKE_BINARY_DIR}/icons/${size}/corvalen-pro.png)
    add_custom_command(OUTPUT ${png}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/icons/${size}
      COMMAND ${RSVG_CONVERT} --width=${size} --height=${size} --output=${png} ${icon_svg}
      DEPENDS ${icon_svg}
      VERBATIM)
    list(APPEND icon_pngs ${png})
    install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
  endforeach()
  add_custom_target(icons ALL DEPENDS ${icon_pngs})
elseif(NOT CORVALEN_SANITIZE)
  install(CODE "message(FATAL_ERROR \"The icons need rsvg-convert: run scripts/install-deps.sh --packaging\")")
endif()

# A native package's documents: copyright and the changelog, compressed.
set(doc_dir ${CMAKE_INSTALL_DATADIR}/doc/corvalen-pro)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/changelog.gz
  COMMAND gzip -9nc ${packaging_dir}/changelog > ${CMAKE_BINARY_DIR}/changelog.gz
  DEPENDS ${packaging_dir}/changelog)
add_custom_target(changelog ALL DEPENDS ${CMAKE_BINARY_DIR}/changelog.gz)
install(FILES ${packaging_dir}/copyright ${CMAKE_BINARY_DIR}/changelog.gz DESTINATION ${doc_dir})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME corvalen-pro)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Corvalen-Pro")
set(CORVALEN_PACKAGE_MAINTAINER "Corvalen-Pro maintainers <maintainers@users.noreply.c-seed-38f75cd5.example>"
  CACHE STRING "Maintainer field of the Debian package")
set(CPACK_PACKAGE_CONTACT "${CORVALEN_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "programmer for Corvalen Xarn door-entry panels")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
"Corvalen-Pro programs a Corvalen Xarn door-entry panel over a serial cable.
After logging on with the panel's PIN it reads, edits, checks and writes the
residents' phone directory (kept in comma-separated files), the operating
parameters, messages, gate codes, speed dials and PIN, the event log and the
panel clock, and the RFID tag store.

The package also holds corvalen-virtual-panel, which plays the panel on a
pseudo-terminal so that the program can be tried without one.")
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# Dependencies are read from the binaries by dpkg-shlibdeps; the workbook
# library is named as well, so that the package asks for it by name.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The SQLite driver of Qt SQL is a plugin, which dpkg-shlibdeps does not see.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libxlsxwriter4, libqt6sql6-sqlite")
# QtKeychain (libqt6keychain1, found by shlibdeps) loads libsecret at run time to reach the keyring.
string(JOIN ", " CPACK_DEBIAN_PACKAGE_DEPENDS ${CPACK_DEBIAN_PACKAGE_DEPENDS} "libsecret-1-0")
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
include(CPack)
