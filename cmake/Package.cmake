# `cpack -G DEB` in a Release build folder makes veltrane_<version>_<arch>.deb
# from what cmake/Install.cmake lays out, plus the files Debian asks of every
# package. The libraries it needs become its dependencies through
# dpkg-shlibdeps.
include(GNUInstallDirs)

set(VELTRANE_MAINTAINER "The Veltrane developers <maintainers@users.noreply.c-seed-e8cf994b.example>"
  CACHE STRING "Maintainer named in the Debian package")

set(CPACK_PACKAGE_NAME veltrane)
set(CPACK_PACKAGE_VENDOR "The Veltrane developers")
set(CPACK_PACKAGE_CONTACT "${VELTRANE_MAINTAINER}")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
  "finds the Framework and Import lines a BlitzMax program needs")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_INSTALL_DIRECTORY veltrane)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${VELTRANE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The long description only: CPack puts the summary above it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Veltrane reads the main file of a BlitzMax program and every file it
reaches through Include and Import, matches the words of the code against
the commands that the installed BlitzMax modules declare, adds the image,
sound and stream loaders that file names call for, and writes an HTML
report with Framework and Import lines ready to paste at the head of the
program.
.
The package holds the desktop program, veltrane, and the same job for
terminals and scripts, veltrane-cli.")

# Debian's copyright file and changelog, laid out by the install step so the
# package carries them under /usr/share/doc/veltrane (named after the package,
# not the project).
set(veltrane_doc_dir ${CMAKE_BINARY_DIR}/debian-doc)
string(TIMESTAMP veltrane_build_date "%a, %d %b %Y %H:%M:%S +0000" UTC)
file(WRITE ${veltrane_doc_dir}/changelog
"veltrane (${PROJECT_VERSION}) unstable; urgency=medium

  * Release ${PROJECT_VERSION}.

 -- ${VELTRANE_MAINTAINER}  ${veltrane_build_date}
")
find_program(VELTRANE_GZIP gzip)
if(VELTRANE_GZIP)
  execute_process(
    COMMAND ${VELTRANE_GZIP} -9nf ${veltrane_doc_dir}/changelog
    RESULT_VARIABLE veltrane_gzip_result)
  if(veltrane_gzip_result EQUAL 0)
    install(FILES ${veltrane_doc_dir}/changelog.gz
      DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/veltrane)
  endif()
endif()
install(FILES ${CMAKE_SOURCE_DIR}/resources/linux/copyright
  DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/veltrane)

include(CPack)
