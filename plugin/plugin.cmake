# The plug-in's code as a library (tests link it directly) and the ObjectARX module itself.
add_library(kvs_plugin STATIC
  frame/arx_app.cpp
  frame/KVS_switchApp.cpp
  frame/menu_reactor.cpp
  frame/ed_reactor.cpp
  frame/environment_file.cpp
  frame/release.cpp
  switching/docs_folders.cpp
  switching/change_env.cpp
  switching/project_driver.cpp
  switching/project_look.cpp
  switching/kept_versions.cpp
  commands/support_paths.cpp
  commands/switch_commands.cpp
  commands/designer_commands.cpp
  commands/project_list.cpp
  menu_plc/cui_menu.cpp
  menu_plc/plc_swap.cpp
)
target_include_directories(kvs_plugin PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(kvs_plugin PUBLIC kvs_core kvs_win32 acadhost mfc_standin comsupp advapi32 shell32 ole32 oleaut32 uuid)

add_library(KVS_switch_2015 SHARED frame/module_entry.cpp frame/KVS_switch_2015.def $<TARGET_OBJECTS:arxapi>)
target_link_libraries(KVS_switch_2015 PRIVATE kvs_plugin)
set_target_properties(KVS_switch_2015 PROPERTIES PREFIX "" SUFFIX ".arx"
  RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
kvs_project_target(kvs_plugin KVS_switch_2015)
