# Builds the Debian package of this tree with cpack into a temporary folder and checks it.
target_compile_definitions(tst_package PRIVATE ZMX_CPACK="${CMAKE_CPACK_COMMAND}"
    ZMX_PACKAGE_PREFIX="${ZMX_PACKAGE_PREFIX}")
add_dependencies(tst_package zmxstudio tolvane vask)
set_tests_properties(package PROPERTIES TIMEOUT 300)
