# The ObjectARX families the add-on is built for, the one list the build reads. The build
# learns a family here and nowhere else: plugin/plugin.cmake makes its module, host/ the stand-in of its
# SDK's link library (arxapi_<major>), data/ its component in the bundle manifest, and
# installer/ its place in both installers (KorvantaSetup.exe and KorvantaSetup.msi).
#
# Each row: module, ObjectARX API major, the AutoCAD series range the module loads into (the
# manifest's SeriesMin and SeriesMax), the automation binding (typed: through the interfaces of
# the imported type library, the 2015 family's; by_name: through IDispatch), and the first and
# last ACADE release of the range.
set(KVS_FAMILIES
  "KVS_switch_2015 20 R20.0 R20.1 typed   2015 2016"
  "KVS_switch_2017 21 R21.0 R21.0 by_name 2017 2017"
  "KVS_switch_2018 22 R22.0 R22.0 by_name 2018 2018"
  "KVS_switch_2019 23 R23.0 R23.1 by_name 2019 2020"
  "KVS_switch_2021 24 R24.0 R24.3 by_name 2021 2024"
  "KVS_switch_2025 25 R25.0 R25.1 by_name 2025 2026"
  "KVS_switch_2027 26 R26.0 R26.0 by_name 2027 2027"
)

# kvs_family_fields(<row> <prefix>): a row of KVS_FAMILIES as <prefix>_module, <prefix>_major,
# <prefix>_series_min, <prefix>_series_max, <prefix>_binding, <prefix>_first and <prefix>_last.
function(kvs_family_fields row prefix)
  separate_arguments(row UNIX_COMMAND "${row}")
  list(LENGTH row count)
  if(NOT count EQUAL 7)
    message(FATAL_ERROR "KVS_FAMILIES: \"${row}\" has ${count} fields, not 7")
  endif()
  set(index 0)
  foreach(field module major series_min series_max binding first last)
    list(GET row ${index} value)
    set(${prefix}_${field} ${value} PARENT_SCOPE)
    math(EXPR index "${index} + 1")
  endforeach()
endfunction()
