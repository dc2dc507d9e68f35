# End-to-end tests of the command-line host: the built stelloria binary run as a
# child process on real audio files, with the real plug-ins and a few broken
# stand-ins built here.
if(TARGET stelloria)
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(CLI_TEST_SNDFILE REQUIRED IMPORTED_TARGET sndfile)

  # Broken plug-ins, one per way a file can fail to be a usable VST 2 plug-in.
  set(cli_fakes)
  foreach(kind nomain null magic crash hang)
    add_library(cli_fake_${kind} MODULE CliFakePlugin.cpp)
    target_include_directories(cli_fake_${kind} PRIVATE ${PROJECT_SOURCE_DIR}/framework)
    string(TOUPPER ${kind} kind_upper)
    target_compile_definitions(cli_fake_${kind} PRIVATE FAKE_${kind_upper})
    set_target_properties(cli_fake_${kind} PROPERTIES
      PREFIX "" OUTPUT_NAME fake_${kind}
      LIBRARY_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/cli-fakes)
    list(APPEND cli_fakes cli_fake_${kind})
  endforeach()

  add_stelloria_test(cli_tests CliRenderTests.cpp CliPresetTests.cpp CliErrorTests.cpp
                     CliCommandTests.cpp)
  target_link_libraries(cli_tests PRIVATE PkgConfig::CLI_TEST_SNDFILE)
  target_compile_definitions(cli_tests PRIVATE
    STELLORIA_CLI="$<TARGET_FILE:stelloria>"
    STELLORIA_FAKE_DIR="${CMAKE_CURRENT_BINARY_DIR}/cli-fakes")
  get_property(cli_plugins GLOBAL PROPERTY STELLORIA_PLUGINS)
  add_dependencies(cli_tests stelloria ${cli_plugins} ${cli_fakes})
endif()
