# The installed tree: fsdata in bin/; the driver, its translations, the
# logging library and the SQLite extension in one library folder, which
# fsdata finds relative to itself (../lib/fsdata; on Windows, bin/ itself);
# the engine's header; the man page and bash completion where the system
# looks for them. Nothing records the build tree, so the tree can move.
if(WIN32)
  set(FSDATA_LIBRARY_DIR bin)
else()
  set(FSDATA_LIBRARY_DIR lib/fsdata)
endif()

install(TARGETS fsdata RUNTIME DESTINATION bin)
install(TARGETS vldb_filesystem vllogger
  LIBRARY DESTINATION ${FSDATA_LIBRARY_DIR}
  RUNTIME DESTINATION ${FSDATA_LIBRARY_DIR})
if(TARGET fsdata_sqlite)
  install(TARGETS fsdata_sqlite LIBRARY DESTINATION ${FSDATA_LIBRARY_DIR})
endif()
file(GLOB translation_files ${CMAKE_SOURCE_DIR}/resources/vldb_filesystem.*.txt)
install(FILES ${translation_files} DESTINATION ${FSDATA_LIBRARY_DIR})
install(FILES ${CMAKE_SOURCE_DIR}/include/vldb/dbdriver.h DESTINATION include/vldb)
install(FILES ${CMAKE_SOURCE_DIR}/tools/fsdata/fsdata.1 DESTINATION share/man/man1)
install(FILES ${CMAKE_SOURCE_DIR}/tools/fsdata/fsdata.bash
  DESTINATION share/bash-completion/completions RENAME fsdata)
