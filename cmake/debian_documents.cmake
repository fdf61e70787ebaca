# Run by cpack on the staged package, before the .deb is made: Debian wants
# /usr/share/doc/<package>/copyright and changelog.gz, and manual pages
# compressed. The copyright file holds the licence, so the package does not
# carry it twice.
set(root ${CPACK_TEMPORARY_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX})
set(docs ${root}/share/doc/${CPACK_PACKAGE_NAME})

file(READ ${CPACK_RESOURCE_FILE_LICENSE} licence)
string(REGEX MATCH "Copyright \\(c\\) ([^\n]*)" holder "${licence}")
set(holder ${CMAKE_MATCH_1})
# The licence's terms, from after its title and copyright line.
string(FIND "${licence}" "Permission" terms)
string(SUBSTRING "${licence}" ${terms} -1 licence)
string(REGEX REPLACE "\n$" "" licence "${licence}")
string(REGEX REPLACE "\n\n" "\n.\n" licence "${licence}")
string(REGEX REPLACE "\n" "\n " licence "${licence}")
file(WRITE ${docs}/copyright
     "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n"
     "Upstream-Name: ${CPACK_PACKAGE_NAME}\n\n"
     "Files: *\n"
     "Copyright: ${holder}\n"
     "License: Expat\n ${licence}\n")

file(REMOVE ${docs}/LICENSE)

file(COPY_FILE ${CPACK_ORBITRIX_CHANGELOG} ${docs}/changelog)
file(GLOB pages ${root}/share/man/man*/*)
foreach(file IN LISTS pages ITEMS ${docs}/changelog)
  # -n: no name or time stamp inside, so the package is the same each build.
  execute_process(COMMAND gzip -9nf ${file} COMMAND_ERROR_IS_FATAL ANY)
endforeach()
