# The translation tests compare the German translation with the sources through lupdate, and
# start the program in a folder whose translation of its own must win over the installed one.
set(zmx_fixture_ts ${ZMX_TEST_FIXTURES}/translations/SrcManager_de.ts)
set_source_files_properties(${zmx_fixture_ts} PROPERTIES OUTPUT_LOCATION ${CMAKE_BINARY_DIR}/tests/translations)
qt_add_lrelease(tst_app TS_FILES ${zmx_fixture_ts} NO_GLOBAL_TARGET)
add_dependencies(tst_app zmxstudio)
target_compile_definitions(tst_app PRIVATE ZMX_LUPDATE="$<TARGET_FILE:Qt6::lupdate>"
    ZMX_TRANSLATION_FIXTURES="${CMAKE_BINARY_DIR}/tests/translations")
