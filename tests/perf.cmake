# The vector paths of the plug-ins, bit for bit against their plain loops.
add_stelloria_test(fast_path_tests FastPathTests.cpp)
add_dependencies(fast_path_tests Lindle Tessik Quorra)
