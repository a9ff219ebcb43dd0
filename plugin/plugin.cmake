# The plug-in's code as a library (tests link it directly) and the ObjectARX modules themselves.
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

# AutoCAD's Files settings: through the interfaces of the type library we import (the 2015
# family's), or by name through IDispatch (every later family). kvs_plugin leaves the choice
# to what links it.
add_library(kvs_acad_files_typed OBJECT frame/acad_files_typed.cpp)
add_library(kvs_acad_files_by_name OBJECT frame/acad_files_by_name.cpp)
foreach(lib kvs_acad_files_typed kvs_acad_files_by_name)
  target_link_libraries(${lib} PRIVATE kvs_plugin)
endforeach()

# One module per ObjectARX family, from the same sources: a module loads only into the releases
# of the family whose SDK it is linked with. Each row: module, API major, automation binding.
set(KVS_ARX_MODULES
  "KVS_switch_2015 20 typed"    # R20: 2015, 2016
  "KVS_switch_2017 21 by_name"  # R21: 2017
  "KVS_switch_2018 22 by_name"  # R22: 2018
  "KVS_switch_2019 23 by_name"  # R23: 2019, 2020
  "KVS_switch_2021 24 by_name"  # R24: 2021 to 2024
  "KVS_switch_2025 25 by_name"  # R25: 2025, 2026
)
set(KVS_ARX_MODULE_NAMES)
foreach(row ${KVS_ARX_MODULES})
  separate_arguments(row)
  list(GET row 0 module)
  list(GET row 1 major)
  list(GET row 2 binding)
  add_library(${module} SHARED frame/module_entry.cpp frame/KVS_switch.def
              $<TARGET_OBJECTS:arxapi_${major}> $<TARGET_OBJECTS:kvs_acad_files_${binding}>)
  target_link_libraries(${module} PRIVATE kvs_plugin)
  set_target_properties(${module} PROPERTIES PREFIX "" SUFFIX ".arx" RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
  kvs_project_target(${module})
  list(APPEND KVS_ARX_MODULE_NAMES ${module})
endforeach()
set(KVS_ARX_MODULE_NAMES ${KVS_ARX_MODULE_NAMES} CACHE INTERNAL "The plug-in's modules, one per ObjectARX family")
add_custom_target(kvs_modules DEPENDS ${KVS_ARX_MODULE_NAMES})
kvs_project_target(kvs_plugin kvs_acad_files_typed kvs_acad_files_by_name)
