# The simulator stand-in that the tests install as the simulator program.
add_subdirectory(${dir}/standin)
add_dependencies(tst_simulator simulator_standin)
target_compile_definitions(tst_simulator PRIVATE ZMX_SIMULATOR_STANDIN="$<TARGET_FILE:simulator_standin>")
