# What `cmake --install` puts in place and the Debian package that
# `cpack -G DEB` builds of it: the program, the simulated sensor, the
# desktop entry, the icon in the hicolor theme, the manual pages, the
# AppStream metadata and the example systemd unit. Tests and benchmarks are
# never installed.

include(GNUInstallDirs)

set(SM_PACKAGE_MAINTAINER "Sensor Monitor Developers <sensor-monitor@example.org>"
    CACHE STRING "The package's maintainer, as Name <address>")
set(SM_PACKAGE_RELEASE 1)
set(SM_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/sensor-monitor)

install(TARGETS sensor-monitor sensor-sim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${SM_ROOT}/resources/sensor-monitor.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
foreach(size 16 32 64 128 256)
  install(FILES ${SM_ROOT}/resources/icons/hicolor/${size}x${size}/sensor-monitor.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()

set(SM_INSTALL_FILES ${CMAKE_CURRENT_BINARY_DIR}/install-files)
configure_file(${SM_ROOT}/resources/sensor-monitor.metainfo.xml.in
               ${SM_INSTALL_FILES}/sensor-monitor.metainfo.xml @ONLY)
install(FILES ${SM_INSTALL_FILES}/sensor-monitor.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# Manual pages and the changelog go compressed, as Debian keeps them.
configure_file(${SM_ROOT}/packaging/changelog.Debian.in ${SM_INSTALL_FILES}/changelog.Debian
               @ONLY)
set(SM_COMPRESSED)
foreach(file ${SM_ROOT}/docs/sensor-monitor.1 ${SM_ROOT}/docs/sensor-sim.1
             ${SM_INSTALL_FILES}/changelog.Debian)
  get_filename_component(name ${file} NAME)
  add_custom_command(OUTPUT ${SM_INSTALL_FILES}/${name}.gz
                     COMMAND gzip -9n -c ${file} > ${SM_INSTALL_FILES}/${name}.gz
                     DEPENDS ${file} VERBATIM)
  list(APPEND SM_COMPRESSED ${SM_INSTALL_FILES}/${name}.gz)
endforeach()
add_custom_target(compressed-docs ALL DEPENDS ${SM_COMPRESSED})
install(FILES ${SM_INSTALL_FILES}/sensor-monitor.1.gz ${SM_INSTALL_FILES}/sensor-sim.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${SM_ROOT}/packaging/copyright ${SM_INSTALL_FILES}/changelog.Debian.gz
        DESTINATION ${SM_DOC_DIR})
install(FILES ${SM_ROOT}/docs/sensor-monitor@.service DESTINATION ${SM_DOC_DIR}/examples)
install(FILES ${SM_ROOT}/packaging/lintian-overrides
        DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME sensor-monitor)

if(PROJECT_IS_TOP_LEVEL)
  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGE_NAME sensor-monitor)
  set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
  set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
      "monitor for a Modbus RTU sensor on a serial line")
  # Lines of at most 80 characters, as Debian's tools show them.
  string(CONCAT CPACK_PACKAGE_DESCRIPTION
         "Sensor Monitor polls one sensor that answers Modbus RTU requests on a\n"
         "serial line, for example through a USB-RS485 adapter, checks every reply\n"
         "with the Modbus CRC-16, shows the newest values on seven-segment displays,\n"
         "plots them on an interactive chart and keeps a data log that can be saved\n"
         "and loaded. It also runs without a window, writing the log lines to a\n"
         "file, as a service.\n"
         "\n"
         "The package includes sensor-sim, a simulated sensor on a pseudo-terminal.")
  set(CPACK_PACKAGE_CONTACT ${SM_PACKAGE_MAINTAINER})
  set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${SM_PACKAGE_MAINTAINER})
  set(CPACK_DEBIAN_PACKAGE_RELEASE ${SM_PACKAGE_RELEASE})
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  # The libraries' packages come from dpkg-shlibdeps; what is loaded at run
  # time without being linked is named here: Qt's window-system plugins and
  # the fonts of the window's texts and of the chart.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-wqy-microhei, fonts-liberation")
  set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_STRIP_FILES ON)
  set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
      OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
  include(CPack)
endif()
