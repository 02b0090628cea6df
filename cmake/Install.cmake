# The installed tree: fsdata in bin/; the driver, its translations, the
# logging library and the SQLite extension in one library folder, which
# fsdata finds relative to itself (../lib/fsdata); the engine's header; the
# man page and bash completion where the system looks for them. Nothing
# records the build tree, so the tree can move. On Windows, one folder as
# engine administrators drop it: the DLLs, translations, fsdata.exe, the
# header and a short README.
if(WIN32)
  set(FSDATA_PROGRAM_DIR .)
  set(FSDATA_LIBRARY_DIR .)
else()
  set(FSDATA_PROGRAM_DIR bin)
  set(FSDATA_LIBRARY_DIR lib/fsdata)
endif()

install(TARGETS fsdata RUNTIME DESTINATION ${FSDATA_PROGRAM_DIR})
install(TARGETS vldb_filesystem vllogger
  LIBRARY DESTINATION ${FSDATA_LIBRARY_DIR}
  RUNTIME DESTINATION ${FSDATA_LIBRARY_DIR})
if(TARGET fsdata_sqlite)
  install(TARGETS fsdata_sqlite LIBRARY DESTINATION ${FSDATA_LIBRARY_DIR})
endif()
file(GLOB translation_files ${CMAKE_SOURCE_DIR}/resources/vldb_filesystem.*.txt)
install(FILES ${translation_files} DESTINATION ${FSDATA_LIBRARY_DIR})
install(FILES ${CMAKE_SOURCE_DIR}/include/vldb/dbdriver.h DESTINATION include/vldb)
if(WIN32)
  install(FILES ${CMAKE_SOURCE_DIR}/cmake/README-windows.txt DESTINATION . RENAME README.txt)
else()
  install(FILES ${CMAKE_SOURCE_DIR}/tools/fsdata/fsdata.1 DESTINATION share/man/man1)
  install(FILES ${CMAKE_SOURCE_DIR}/tools/fsdata/fsdata.bash
    DESTINATION share/bash-completion/completions RENAME fsdata)
endif()

# cpack -G DEB (from build/native): the installed tree under /usr, with the
# Debian packages it needs at run time. ICU's package carries its major
# version in its name.
if(NOT WIN32)
  find_package(ICU QUIET COMPONENTS uc)
  string(REGEX MATCH "^[0-9]+" icu_major "${ICU_VERSION}")
  set(CPACK_PACKAGE_NAME fsdata)
  set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
  set(CPACK_PACKAGE_CONTACT "The File System Data driver project <fsdata@localhost>")
  set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "a directory tree as a database table (Vellum driver, fsdata)")
  set(CPACK_PACKAGE_DESCRIPTION
"The File System Data driver lets the Vellum reporting engine see a directory
tree as a table with one row per file: names, sizes, times, attributes,
version resources of executables, owner and access list, and the summary
properties of OLE compound documents. fsdata runs it from the command line
(query, sql, fields, dialog, info); libfsdata.so brings the table to SQLite.")
  set(CPACK_DEBIAN_PACKAGE_SECTION utils)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS
      "libc6, libstdc++6, libgcc-s1, libicu${icu_major}, libsqlite3-0, shared-mime-info")
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_GENERATOR DEB)
  include(CPack)
else()
  # cpack -G ZIP (from build/win64): fsdata-VERSION-win64.zip, one folder.
  set(CPACK_PACKAGE_NAME fsdata)
  set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
  set(CPACK_SYSTEM_NAME win64)
  set(CPACK_GENERATOR ZIP)
  include(CPack)
endif()
