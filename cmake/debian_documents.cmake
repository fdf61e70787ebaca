# Run by cpack on the staged packages, before the .debs are made: Debian
# wants /usr/share/doc/<package>/copyright and changelog.gz, and manual
# pages compressed. Each package installs the licence into its documents'
# folder; the copyright file is made from it, so no package carries it twice.
file(READ ${CPACK_RESOURCE_FILE_LICENSE} licence)
string(REGEX MATCH "Copyright \\(c\\) ([^\n]*)" holder "${licence}")
set(holder ${CMAKE_MATCH_1})
# The licence's terms, from after its title and copyright line.
string(FIND "${licence}" "Permission" terms)
string(SUBSTRING "${licence}" ${terms} -1 licence)
string(REGEX REPLACE "\n$" "" licence "${licence}")
string(REGEX REPLACE "\n\n" "\n.\n" licence "${licence}")
string(REGEX REPLACE "\n" "\n " licence "${licence}")
file(READ ${CPACK_ORBITRIX_CHANGELOG} changelog)

# One licence a package, in <root>/share/doc/<package>/LICENSE.
file(GLOB_RECURSE licences ${CPACK_TEMPORARY_DIRECTORY}/LICENSE)
foreach(installed IN LISTS licences)
  get_filename_component(docs ${installed} DIRECTORY)
  get_filename_component(package ${docs} NAME)
  get_filename_component(root ${docs}/../../.. ABSOLUTE)
  file(WRITE ${docs}/copyright
       "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n"
       "Upstream-Name: ${CPACK_PACKAGE_NAME}\n\n"
       "Files: *\n"
       "Copyright: ${holder}\n"
       "License: Expat\n ${licence}\n")
  file(REMOVE ${installed})

  # The changelog names the package it is in.
  string(REGEX REPLACE "^[a-z-]+ " "${package} " own_changelog "${changelog}")
  file(WRITE ${docs}/changelog "${own_changelog}")
  file(GLOB pages ${root}/share/man/man*/*)
  foreach(file IN LISTS pages ITEMS ${docs}/changelog)
    # -n: no name or time stamp inside, so the package is the same each build.
    execute_process(COMMAND gzip -9nf ${file} COMMAND_ERROR_IS_FATAL ANY)
  endforeach()
endforeach()
