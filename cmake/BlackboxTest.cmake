# blackbox_add_test(NAME SOURCES ... LIBS ...): one GoogleTest executable, run by ctest as one test.
function(blackbox_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} test_support GTest::gtest GTest::gtest_main)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES TIMEOUT 600)
endfunction()

# blackbox_webengine_test_properties(NAME [VAR=VALUE ...]): a test that opens real web views, in
# its own process or in the programs it starts. QtWebEngine takes about 300 MiB, so these never run
# at the same time. Under AddressSanitizer, Chromium's own sized deletes inside libQt6WebEngineCore
# trip the new/delete size check; that check is switched off for these tests only (everything else
# about them stays checked). ASan's options are separated by colons, as a path list is.
function(blackbox_webengine_test_properties name)
  set_tests_properties(${name} PROPERTIES TIMEOUT 600 RESOURCE_LOCK webengine
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QTWEBENGINE_DISABLE_SANDBOX=1;${ARGN}")
  if(BLACKBOX_SANITIZE)
    set_tests_properties(${name} PROPERTIES
      ENVIRONMENT_MODIFICATION "ASAN_OPTIONS=path_list_append:new_delete_type_mismatch=0")
  endif()
endfunction()

# blackbox_add_webengine_test(NAME): registers an executable that opens real web views.
function(blackbox_add_webengine_test name)
  add_test(NAME ${name} COMMAND ${name})
  blackbox_webengine_test_properties(${name})
endfunction()
