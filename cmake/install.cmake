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
  install(FILES man/orbitrix.6 DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
endif()

install(TARGETS orbitrix RUNTIME DESTINATION ${orbitrix_bindir})
install(FILES README.md LICENSE DESTINATION ${orbitrix_docdir})
