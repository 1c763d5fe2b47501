# lumora_test(NAME SOURCES ... LIBS ... [LABELS ...] [THREADS])
#
# One GoogleTest executable per area, discovered by CTest before each run (so a
# sanitizer build never runs a binary at build time). THREADS marks a threading
# test: it gets the "threads" label and joins the target that the
# ThreadSanitizer tree builds. Label "x11" means the test needs $DISPLAY.
add_custom_target(lumora_thread_tests)

function(lumora_test name)
  cmake_parse_arguments(T "THREADS" "" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  set(labels ${T_LABELS})
  if(T_THREADS)
    list(APPEND labels threads)
    add_dependencies(lumora_thread_tests ${name})
  endif()
  # An empty LABELS value would swallow the next property name, so pass it only when set.
  set(properties TIMEOUT 120)
  if(labels)
    list(JOIN labels "\\;" joined)
    list(APPEND properties LABELS "${joined}")
  endif()
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 30
    PROPERTIES ${properties}
    WORKING_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR})
endfunction()
