# Hostile hosts: real-time safety of the audio path, the lifecycle soak, and
# output sanity after hostile input (sharing the fuzzer's action player).
get_property(hostile_plugins GLOBAL PROPERTY STELLORIA_PLUGINS)

add_stelloria_test(realtime_tests RealtimeSafetyTests.cpp)
add_dependencies(realtime_tests ${hostile_plugins})

add_stelloria_test(soak_tests SoakTests.cpp)
add_dependencies(soak_tests ${hostile_plugins})

add_stelloria_test(hostile_input_tests HostileInputTests.cpp ${PROJECT_SOURCE_DIR}/fuzz/HostActions.cpp)
target_include_directories(hostile_input_tests PRIVATE ${PROJECT_SOURCE_DIR}/fuzz)
add_dependencies(hostile_input_tests ${hostile_plugins})
