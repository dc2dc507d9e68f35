# The delay Ombrel: its host-facing answers, and its audio against a model.
add_stelloria_test(ombrel_tests OmbrelTests.cpp OmbrelAudioTests.cpp)
add_dependencies(ombrel_tests Ombrel)
