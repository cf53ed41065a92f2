# What `cmake --install` installs and what `cpack` packs: on Linux a Debian package of the Qt
# program with its desktop entry, icons and AppStream metadata; on Windows a zip of the
# program, the README and the licence.
set(CPACK_PACKAGE_NAME tavrimo)
set(CPACK_PACKAGE_VENDOR "The Tavrimo developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Interactive B-spline curve editor")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)

if(WIN32)
  install(TARGETS tavrimo RUNTIME DESTINATION .)
  install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION .)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(windows_arch win64)
  else()
    set(windows_arch win32)
  endif()
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME tavrimo-${PROJECT_VERSION}-${windows_arch})
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
elseif(TARGET tavrimo)
  include(GNUInstallDirs)
  install(TARGETS tavrimo RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${PROJECT_SOURCE_DIR}/resources/linux/tavrimo.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  configure_file(${PROJECT_SOURCE_DIR}/resources/linux/org.tavrimo.Tavrimo.metainfo.xml
    ${PROJECT_BINARY_DIR}/org.tavrimo.Tavrimo.metainfo.xml @ONLY)
  install(FILES ${PROJECT_BINARY_DIR}/org.tavrimo.Tavrimo.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  foreach(size 16 24 32 48 64 128 256)
    install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/hicolor/${size}x${size}/apps/tavrimo.png
      DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
  endforeach()
  install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/tavrimo.svg
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tavrimo
    RENAME copyright)

  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT) # tavrimo_<version>_<arch>.deb
  set(CPACK_DEBIAN_PACKAGE_MAINTAINER "The Tavrimo developers")
  set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
  set(CPACK_PACKAGE_DESCRIPTION "Place control points with the mouse and watch the uniform B-spline of
degree 1 to 9 follow them: red control polygon, green point markers and
the blue curve, every pixel drawn by the program itself.")
  # The dependencies come from the binary's libraries, through dpkg-shlibdeps.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
endif()

include(CPack)
