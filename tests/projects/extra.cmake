# The offscreen platform ends every drag at once; the real drag and drop of the project
# tree runs on the minimal platform, whose drag loop follows the mouse.
add_test(NAME projects_drag COMMAND tst_projects)
set_tests_properties(projects_drag PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=minimal;ZMX_TEST_CLASS=ProjectTreeDragTest" TIMEOUT 60)
# The German texts test loads the program's built translation.
add_dependencies(tst_projects zmxstudio_lrelease)
