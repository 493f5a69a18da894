# Included from the top-level CMakeLists.txt among the install rules: the
# man page, the bash completion and the licence beside the executable, and
# the packages that cpack makes of the installed tree: a .deb and a .tar.gz
# on Linux, a .zip on Windows.

if(WIN32)
  install(FILES README.md LICENSE DESTINATION .)
  install(DIRECTORY docs DESTINATION .)  # the pages that the README links to
else()
  # Debian keeps man pages compressed with gzip -9n: no name, no time stamp,
  # so the package is reproducible.
  foreach(document man/hexloom.1 cmake/changelog.Debian)
    cmake_path(GET document FILENAME name)
    add_custom_command(OUTPUT ${name}.gz
      COMMAND sh -c "gzip -9n < '${CMAKE_CURRENT_SOURCE_DIR}/${document}' > ${name}.gz"
      DEPENDS ${document}
      VERBATIM)
  endforeach()
  add_custom_target(hexloom_documents ALL DEPENDS hexloom.1.gz changelog.Debian.gz)
  install(FILES ${CMAKE_CURRENT_BINARY_DIR}/hexloom.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES completion/hexloom.bash
    DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME hexloom)
  # The package's name, not the project's: /usr/share/doc/hexloom.
  install(FILES LICENSE DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/hexloom RENAME copyright)
  # A native package keeps its Debian changelog as changelog.gz.
  install(FILES ${CMAKE_CURRENT_BINARY_DIR}/changelog.Debian.gz
    DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/hexloom RENAME changelog.gz)
endif()

if(NOT PROJECT_IS_TOP_LEVEL)
  return()
endif()

set(CPACK_PACKAGE_NAME hexloom)
set(CPACK_PACKAGE_VENDOR "The Hexloom developers")
set(CPACK_PACKAGE_CONTACT "The Hexloom developers <developers@hexloom.dev>")
set(CPACK_PACKAGE_HOMEPAGE_URL https://hexloom.dev)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "convert data files into C++ source or checksum files")
set(CPACK_PACKAGE_DESCRIPTION
  "Hexloom turns data files into C++ source, so that a program can carry them
inside its own build: a .cpp file defining the bytes as an array and a .h
file declaring it, or one .cxx file. It also writes MD5, SHA-1, SHA-256 and
SHA-512 checksum files. A CMake package gives hexloom_embed(), which
converts a target's assets at build time.")
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_CURRENT_SOURCE_DIR}/LICENSE)
set(CPACK_RESOURCE_FILE_README ${CMAKE_CURRENT_SOURCE_DIR}/README.md)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/packages)
set(CPACK_STRIP_FILES ON)

if(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_SYSTEM_NAME windows-x86_64)
else()
  set(CPACK_GENERATOR DEB TGZ)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION devel)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  # dpkg-shlibdeps reads the dependencies off the binary.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
endif()
include(CPack)
