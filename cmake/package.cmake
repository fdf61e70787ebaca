# `cpack` in a build directory: a .deb on Linux, a zip on Windows.
#   scripts/package builds both.
set(CPACK_PACKAGE_NAME orbitrix)
set(CPACK_PACKAGE_VENDOR "The Orbitrix authors")
set(CPACK_PACKAGE_CONTACT "The Orbitrix authors <jogo@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "arcade shooter for the text terminal")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)

if(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME ${CPACK_PACKAGE_NAME}-${PROJECT_VERSION}-win64)
else()
  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${CPACK_PACKAGE_CONTACT})
  set(CPACK_DEBIAN_PACKAGE_SECTION games)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  # One package for the game, one for the board's server; each lists the
  # libraries its own programs link.
  set(CPACK_DEB_COMPONENT_INSTALL ON)
  set(CPACK_COMPONENTS_ALL game)
  set(CPACK_DEBIAN_GAME_PACKAGE_NAME orbitrix)
  set(CPACK_DEBIAN_GAME_PACKAGE_SECTION games)
  # Each package's description starts with its own summary line: CPack adds
  # the project's summary above it unless that is CPack's default.
  set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${CMAKE_PROJECT_NAME} built using CMake")
  # cpack indents the lines under the summary as the control file wants.
  set(CPACK_DEBIAN_GAME_DESCRIPTION
      "arcade shooter for the text terminal
Orbitrix is a single-player arcade shooter for the text terminal. Type
your name, pick one of four levels and steer your ship over a framed play
area: shoot the enemy ships and meteors, dodge what falls on you and pick
up extra lives. Tones through ALSA; texts in Portuguese. Play needs a
UTF-8 terminal of at least 80x49 with 16 colours.")
  if(TARGET orbitrix-server)
    list(APPEND CPACK_COMPONENTS_ALL server)
    set(CPACK_DEBIAN_SERVER_PACKAGE_NAME orbitrix-server)
    set(CPACK_DEBIAN_SERVER_PACKAGE_SECTION net)
    set(CPACK_DEBIAN_SERVER_DESCRIPTION
        "board of Orbitrix games that the server replayed itself
orbitrix-server keeps a table of the best Orbitrix games. Players send the
recordings the game makes; the server replays each one with the game's own
code and ranks a game only when it ends as recorded. It answers JSON over
HTTP, keeps the board in SQLite or PostgreSQL, and comes with a sandboxed
systemd unit that serves on localhost, for a TLS proxy in front.")
  endif()
  # Debian's rules for a package's documents: a copyright file, a
  # changelog, manual pages compressed.
  configure_file(packaging/changelog.in ${PROJECT_BINARY_DIR}/packaging/changelog @ONLY)
  # cpack sees only the CPACK_ variables.
  set(CPACK_ORBITRIX_CHANGELOG ${PROJECT_BINARY_DIR}/packaging/changelog)
  set(CPACK_PRE_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/debian_documents.cmake)
endif()

include(CPack)
