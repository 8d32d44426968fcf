# blackbox_add_test(NAME SOURCES ... LIBS ...): one GoogleTest executable, run by ctest as one test.
function(blackbox_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} test_support GTest::gtest GTest::gtest_main)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES TIMEOUT 600)
endfunction()

# blackbox_add_webengine_test(NAME): registers an executable that opens real web views. QtWebEngine
# takes about 300 MiB, so these never run at the same time. Under AddressSanitizer, Chromium's own
# sized deletes inside libQt6WebEngineCore trip the new/delete size check; that check is switched
# off for these tests only (everything else about them stays checked).
function(blackbox_add_webengine_test name)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES TIMEOUT 300 RESOURCE_LOCK webengine
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QTWEBENGINE_DISABLE_SANDBOX=1")
  if(BLACKBOX_SANITIZE)
    set_tests_properties(${name} PROPERTIES
      ENVIRONMENT_MODIFICATION "ASAN_OPTIONS=string_append::new_delete_type_mismatch=0")
  endif()
endfunction()
