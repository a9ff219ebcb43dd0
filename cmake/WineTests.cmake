# Windows tests run under Wine. Every test shares one prefix owned by the build tree;
# a setup fixture starts the wineserver and Wine's services first (otherwise each test
# pays for them and they inherit CTest's pipes), and a cleanup fixture ends them.
set(KVS_STATE_DIR "${CMAKE_BINARY_DIR}/wine" CACHE PATH "Locale and Wine prefix of this build")
set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_SOURCE_DIR}/tools/wine-run")

add_test(NAME wine_start COMMAND ${CMAKE_SOURCE_DIR}/tools/wine-session start)
add_test(NAME wine_stop COMMAND ${CMAKE_SOURCE_DIR}/tools/wine-session stop)
set_tests_properties(wine_start PROPERTIES FIXTURES_SETUP wine ENVIRONMENT "KVS_STATE_DIR=${KVS_STATE_DIR}")
set_tests_properties(wine_stop PROPERTIES FIXTURES_CLEANUP wine ENVIRONMENT "KVS_STATE_DIR=${KVS_STATE_DIR}")

# kvs_add_wine_test(NAME <test> [LANGUAGE ru_RU|en_US] COMMAND <target> [args...])
# Tests share the prefix (registry, C:\Program Files\Korvanta\, mutexes), so they never
# run side by side. LANGUAGE is the user's display language (English by default); the code
# page is 1251 either way.
function(kvs_add_wine_test)
  cmake_parse_arguments(T "" "NAME;LANGUAGE" "COMMAND" ${ARGN})
  if(NOT T_LANGUAGE)
    set(T_LANGUAGE en_US)
  endif()
  add_test(NAME ${T_NAME} COMMAND ${T_COMMAND})
  set_tests_properties(${T_NAME} PROPERTIES
    FIXTURES_REQUIRED wine
    RESOURCE_LOCK wineprefix
    ENVIRONMENT "KVS_STATE_DIR=${KVS_STATE_DIR};KVS_BUILD_DIR=${CMAKE_BINARY_DIR};KVS_SOURCE_DIR=${CMAKE_SOURCE_DIR};KVS_LC_MESSAGES=${T_LANGUAGE}.UTF-8"
    TIMEOUT 600)
endfunction()
