# Install layout and the Debian package.
#
#   <prefix>/lib/qx-zenk-rx/      the program directory: qx-zenk-rx, qx-zenk-sim and every file
#                                 the tool reads from its program directory, and the marker
#                                 that keeps the state per user
#   <prefix>/bin/qx-zenk-rx       launcher: a link to the program directory's executable (the
#   <prefix>/bin/qx-zenk-sim      tool finds its program directory through the resolved link)
#   <prefix>/share/applications, share/metainfo, share/icons/hicolor   desktop integration
#
# cmake --install build/release --prefix /usr/local, or scripts/package.sh for the .deb.

set(QX_APP_ID io.github.qxtools.QxZenkRx)
set(QX_INSTALL_PROGRAM_DIR lib/qx-zenk-rx)
set(QX_RELEASE_DATE 2026-12-11)  # of PROJECT_VERSION, for the metainfo

install(TARGETS qx-zenk-rx qx-zenk-sim RUNTIME DESTINATION ${QX_INSTALL_PROGRAM_DIR})
foreach(f ${QX_DATA_FILES} per-user-state)
  install(FILES ${CMAKE_SOURCE_DIR}/data/${f} DESTINATION ${QX_INSTALL_PROGRAM_DIR})
endforeach()

# Relative links, so the tree can be moved (DESTDIR, package staging) and still resolve.
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/launchers)
foreach(exe qx-zenk-rx qx-zenk-sim)
  file(CREATE_LINK ../${QX_INSTALL_PROGRAM_DIR}/${exe} ${CMAKE_BINARY_DIR}/launchers/${exe}
       SYMBOLIC)
  install(FILES ${CMAKE_BINARY_DIR}/launchers/${exe} DESTINATION bin)
endforeach()

set(desktop ${CMAKE_SOURCE_DIR}/data/desktop)
configure_file(${desktop}/${QX_APP_ID}.metainfo.xml.in
               ${CMAKE_BINARY_DIR}/desktop/${QX_APP_ID}.metainfo.xml @ONLY)
install(FILES ${desktop}/${QX_APP_ID}.desktop DESTINATION share/applications)
install(FILES ${CMAKE_BINARY_DIR}/desktop/${QX_APP_ID}.metainfo.xml DESTINATION share/metainfo)
install(FILES ${desktop}/${QX_APP_ID}.svg DESTINATION share/icons/hicolor/scalable/apps)
install(FILES ${desktop}/${QX_APP_ID}.png DESTINATION share/icons/hicolor/256x256/apps)
install(FILES ${CMAKE_SOURCE_DIR}/data/app_icon.png DESTINATION share/icons/hicolor/32x32/apps
        RENAME ${QX_APP_ID}.png)
install(FILES ${CMAKE_SOURCE_DIR}/data/app_icon_16.png DESTINATION share/icons/hicolor/16x16/apps
        RENAME ${QX_APP_ID}.png)

# The desktop files must pass the validators the desktops use.
if(QX_BUILD_TESTS)
  find_program(DESKTOP_FILE_VALIDATE desktop-file-validate)
  find_program(APPSTREAMCLI appstreamcli)
  if(DESKTOP_FILE_VALIDATE AND APPSTREAMCLI)
    add_test(NAME desktop_entry_validates
             COMMAND ${DESKTOP_FILE_VALIDATE} ${desktop}/${QX_APP_ID}.desktop)
    add_test(NAME metainfo_validates
             COMMAND ${APPSTREAMCLI} validate --no-net
                     ${CMAKE_BINARY_DIR}/desktop/${QX_APP_ID}.metainfo.xml)
    set_tests_properties(desktop_entry_validates metainfo_validates PROPERTIES LABELS desktop)
  else()
    message(WARNING "desktop-file-validate or appstreamcli missing: desktop files not validated")
  endif()
endif()

# The .deb: cpack -G DEB in the build directory (scripts/package.sh).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME qx-zenk-rx)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "QX-ZENK-RX tool developers <noreply@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "configuration tool for the QX-ZENK-RX video receiver")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "configuration tool for the QX-ZENK-RX video receiver
 Over the receiver's RS-232 control port the tool sets and reads back the
 receiver's options, adjusts the picture, presses the front-panel keys and
 programs the receiver's projector control. The receiver simulator
 qx-zenk-sim comes with it.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-dejavu-core")
set(CPACK_STRIP_FILES ON)
include(CPack)
