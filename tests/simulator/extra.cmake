# The simulator stand-in that the tests install as the simulator program.
add_subdirectory(${dir}/standin)
add_dependencies(tst_simulator simulator_standin)
target_compile_definitions(tst_simulator PRIVATE ZMX_SIMULATOR_STANDIN="$<TARGET_FILE:simulator_standin>")
# The end-to-end test runs the real simulator program built beside the IDE, once offscreen
# with the others and once more on an X server of its own when xvfb-run is there.
add_dependencies(tst_simulator vask)
find_program(ZMX_XVFB_RUN xvfb-run)
if(ZMX_XVFB_RUN)
    add_test(NAME simulator_x11 COMMAND ${ZMX_XVFB_RUN} -a -s "-screen 0 1280x1024x24" $<TARGET_FILE:tst_simulator>)
    set_tests_properties(simulator_x11 PROPERTIES
        ENVIRONMENT "QT_QPA_PLATFORM=xcb;ZMX_TEST_CLASS=VaskEndToEndTest" TIMEOUT 600)
endif()
