# Where `cmake --install` puts the program and its documents. On Windows
# everything sits side by side, as a program unpacked from a zip does.
include(GNUInstallDirs)

if(WIN32)
  set(orbitrix_bindir .)
  set(orbitrix_docdir .)
else()
  # Debian's packages put games in games/ rather than bin/.
  set(ORBITRIX_BINDIR ${CMAKE_INSTALL_BINDIR} CACHE STRING
      "Where the program goes, under the install prefix")
  set(orbitrix_bindir ${ORBITRIX_BINDIR})
  set(orbitrix_docdir ${CMAKE_INSTALL_DOCDIR})
  install(FILES man/orbitrix.6 DESTINATION ${CMAKE_INSTALL_MANDIR}/man6 COMPONENT game)
endif()

install(TARGETS orbitrix RUNTIME DESTINATION ${orbitrix_bindir} COMPONENT game)
install(FILES README.md LICENSE DESTINATION ${orbitrix_docdir} COMPONENT game)

# The board's server, a package of its own: the program an administrator
# runs (sbin), its manual and a systemd unit that serves on localhost.
if(TARGET orbitrix-server)
  set(ORBITRIX_SYSTEMD_UNITDIR lib/systemd/system CACHE STRING
      "Where the server's systemd unit goes, under the install prefix")
  set(ORBITRIX_SERVER_PATH ${CMAKE_INSTALL_FULL_SBINDIR}/orbitrix-server)
  configure_file(packaging/orbitrix-server.service.in
                 ${PROJECT_BINARY_DIR}/packaging/orbitrix-server.service @ONLY)
  install(TARGETS orbitrix-server RUNTIME DESTINATION ${CMAKE_INSTALL_SBINDIR} COMPONENT server)
  install(FILES man/orbitrix-server.8 DESTINATION ${CMAKE_INSTALL_MANDIR}/man8 COMPONENT server)
  install(FILES ${PROJECT_BINARY_DIR}/packaging/orbitrix-server.service
          DESTINATION ${ORBITRIX_SYSTEMD_UNITDIR} COMPONENT server)
  install(FILES LICENSE DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/orbitrix-server
          COMPONENT server)
endif()
