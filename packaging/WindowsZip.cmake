# The Windows zip: one folder holding the window program and the command-line mtd-sim, the
# example configuration beside them (both read init.txt from their working directory, which is
# the folder when started from Explorer) and a README for Windows users.
install(TARGETS mtd-demo RUNTIME DESTINATION .)
if(TARGET mtd-sim)
  install(TARGETS mtd-sim RUNTIME DESTINATION .)
endif()
install(FILES ${PROJECT_SOURCE_DIR}/examples/init.txt DESTINATION .)
install(FILES ${CMAKE_CURRENT_SOURCE_DIR}/README-windows.txt DESTINATION . RENAME README.txt)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_FILE_NAME ${CPACK_PACKAGE_NAME}-${PROJECT_VERSION}-win64)
