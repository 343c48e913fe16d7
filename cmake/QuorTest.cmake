# quor_add_test(NAME SOURCES ... [LIBS ...] [GUI] [PROPERTIES ...])
# One GoogleTest executable and one CTest entry. In the win32 build it runs under scripts/wine-run,
# which gives it a private Wine prefix, display and virtual desktop. GUI tests are Windows-only.
function(quor_add_test name)
  cmake_parse_arguments(T "GUI" "" "SOURCES;LIBS;PROPERTIES" ${ARGN})
  if(T_GUI AND NOT WIN32)
    return()
  endif()
  # Every test program fails a test on an exception stopped at a callback boundary.
  add_executable(${name} ${T_SOURCES} ${CMAKE_SOURCE_DIR}/tests/support/callback_failure.cpp)
  target_link_libraries(${name} PRIVATE ${T_LIBS} quor_framework GTest::gtest GTest::gtest_main)
  if(WIN32)
    target_sources(${name} PRIVATE $<TARGET_OBJECTS:quor_strings> $<TARGET_OBJECTS:quor_dialogs>)
    target_link_libraries(${name} PRIVATE comctl32 gdi32 user32 ole32 uuid)
  endif()
  add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
  set_tests_properties(${name} PROPERTIES TIMEOUT 600 ${T_PROPERTIES})
endfunction()
