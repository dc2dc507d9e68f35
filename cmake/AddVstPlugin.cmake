# add_vst_plugin(Name SOURCES ... [LIBRARIES ...])
# Builds build/vst/Name.so: a module exporting only `main`, everything else
# hidden, linked against the framework; installed to <prefix>/lib/vst.
set(STELLORIA_EXPORTS_MAP ${CMAKE_CURRENT_LIST_DIR}/../framework/exports.map)

function(add_vst_plugin name)
  cmake_parse_arguments(PLUGIN "" "" "SOURCES;LIBRARIES" ${ARGN})
  add_library(${name} MODULE ${PLUGIN_SOURCES})
  target_link_libraries(${name} PRIVATE stelloria_framework ${PLUGIN_LIBRARIES})
  set_target_properties(${name} PROPERTIES
    PREFIX ""
    LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/vst
    CXX_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON
    LINK_DEPENDS ${STELLORIA_EXPORTS_MAP})
  target_link_options(${name} PRIVATE -Wl,--version-script=${STELLORIA_EXPORTS_MAP})
  if(NOT STELLORIA_SANITIZE)
    target_link_options(${name} PRIVATE -Wl,--no-undefined)
  endif()
  install(TARGETS ${name} LIBRARY DESTINATION lib/vst)
  set_property(GLOBAL APPEND PROPERTY STELLORIA_PLUGINS ${name})
endfunction()
