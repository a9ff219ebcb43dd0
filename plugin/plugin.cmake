# Switching project files on disk, with neither AutoCAD nor the framework: the plug-in and
# kvs-switch, the CAD manager's console program, both link it.
add_library(kvs_switching STATIC
  switching/docs_folders.cpp
  switching/library_lists.cpp
  switching/project_driver.cpp
  switching/project_look.cpp
  switching/kept_versions.cpp
)
target_include_directories(kvs_switching PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(kvs_switching PUBLIC kvs_core kvs_win32 kvs_path_identity advapi32 shell32)

# The plug-in's code as a library (tests link it directly) and the ObjectARX modules themselves.
add_library(kvs_plugin STATIC
  frame/arx_app.cpp
  frame/KVS_switchApp.cpp
  frame/menu_reactor.cpp
  frame/ed_reactor.cpp
  frame/environment_file.cpp
  frame/release.cpp
  commands/acad_switch.cpp
  commands/support_paths.cpp
  commands/switch_commands.cpp
  commands/designer_commands.cpp
  commands/project_list.cpp
  menu_plc/cui_menu.cpp
  menu_plc/plc_swap.cpp
)
target_include_directories(kvs_plugin PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(kvs_plugin PUBLIC kvs_switching kvs_core kvs_win32 acadhost mfc_standin comsupp advapi32 shell32 ole32 oleaut32 uuid)

# AutoCAD's Files settings: through the interfaces of the type library we import (the 2015
# family's), or by name through IDispatch (every later family). kvs_plugin leaves the choice
# to what links it.
add_library(kvs_acad_files_typed OBJECT frame/acad_files_typed.cpp)
add_library(kvs_acad_files_by_name OBJECT frame/acad_files_by_name.cpp)
foreach(lib kvs_acad_files_typed kvs_acad_files_by_name)
  target_link_libraries(${lib} PRIVATE kvs_plugin)
endforeach()

# One module per ObjectARX family (cmake/families.cmake), from the same sources: a module loads
# only into the releases of the family whose SDK it is linked with.
set(KVS_ARX_MODULE_NAMES)
foreach(row IN LISTS KVS_FAMILIES)
  kvs_family_fields("${row}" family)
  set(module ${family_module})
  add_library(${module} SHARED frame/module_entry.cpp frame/KVS_switch.def
              $<TARGET_OBJECTS:arxapi_${family_major}> $<TARGET_OBJECTS:kvs_acad_files_${family_binding}>)
  target_link_libraries(${module} PRIVATE kvs_plugin)
  kvs_add_texts(${module})
  set_target_properties(${module} PROPERTIES PREFIX "" SUFFIX ".arx" RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
  kvs_project_target(${module})
  list(APPEND KVS_ARX_MODULE_NAMES ${module})
endforeach()
set(KVS_ARX_MODULE_NAMES ${KVS_ARX_MODULE_NAMES} CACHE INTERNAL "The plug-in's modules, one per ObjectARX family")
add_custom_target(kvs_modules DEPENDS ${KVS_ARX_MODULE_NAMES})
kvs_project_target(kvs_switching kvs_plugin kvs_acad_files_typed kvs_acad_files_by_name)
