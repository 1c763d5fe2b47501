# lumora_fuzz_target(NAME SOURCES ... CORPUS DIR): a libFuzzer executable in
# <build>/fuzz/, with a NAME.corpus file there naming its committed corpus, and
# part of the lumora_fuzz_targets target that scripts/fuzz builds and runs.
# The whole tree is compiled with -fsanitize=fuzzer-no-link,address by
# scripts/fuzz so that the code under test is instrumented.
include_guard(GLOBAL)

if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  message(FATAL_ERROR "LUMORA_FUZZ needs clang (configure with CC=clang CXX=clang++)")
endif()
if(NOT TARGET lumora_fuzz_targets)
  add_custom_target(lumora_fuzz_targets)
endif()

function(lumora_fuzz_target name)
  cmake_parse_arguments(F "" "CORPUS" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${F_SOURCES})
  target_link_libraries(${name} PRIVATE ${F_LIBS})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer,address)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer,address)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz)
  file(WRITE ${CMAKE_BINARY_DIR}/fuzz/${name}.corpus "${F_CORPUS}\n")
  add_dependencies(lumora_fuzz_targets ${name})
endfunction()
