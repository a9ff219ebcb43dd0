# Windows tests run under Wine. Every test shares one prefix owned by the build tree;
# a setup fixture starts the wineserver and Wine's services first (otherwise each test
# pays for them and they inherit CTest's pipes), and a cleanup fixture ends them.
set(KVS_STATE_DIR "${CMAKE_BINARY_DIR}/wine" CACHE PATH "Locale and Wine prefix of this build")
set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_SOURCE_DIR}/tools/wine-run")

add_test(NAME wine_start COMMAND ${CMAKE_SOURCE_DIR}/tools/wine-session start)
add_test(NAME wine_stop COMMAND ${CMAKE_SOURCE_DIR}/tools/wine-session stop)
set_tests_properties(wine_start PROPERTIES FIXTURES_SETUP wine ENVIRONMENT "KVS_STATE_DIR=${KVS_STATE_DIR}")
set_tests_properties(wine_stop PROPERTIES FIXTURES_CLEANUP wine ENVIRONMENT "KVS_STATE_DIR=${KVS_STATE_DIR}")

# kvs_add_wine_test(NAME <test> COMMAND <target> [args...] [DISPLAY_LANGUAGE <locale>])
# Tests share the prefix (registry, C:\Program Files\Korvanta\, mutexes), so they never
# run side by side. The test program and all it starts run with the Windows display language
# of DISPLAY_LANGUAGE (en_US.UTF-8 for English), Russian without it.
function(kvs_add_wine_test)
  cmake_parse_arguments(T "" "NAME;DISPLAY_LANGUAGE" "COMMAND" ${ARGN})
  add_test(NAME ${T_NAME} COMMAND ${T_COMMAND})
  set(environment "KVS_STATE_DIR=${KVS_STATE_DIR};KVS_BUILD_DIR=${CMAKE_BINARY_DIR};KVS_SOURCE_DIR=${CMAKE_SOURCE_DIR}")
  if(T_DISPLAY_LANGUAGE)
    list(APPEND environment "KVS_DISPLAY_LANGUAGE=${T_DISPLAY_LANGUAGE}")
  endif()
  set_tests_properties(${T_NAME} PROPERTIES
    FIXTURES_REQUIRED wine
    RESOURCE_LOCK wineprefix
    ENVIRONMENT "${environment}"
    TIMEOUT 600)
endfunction()
