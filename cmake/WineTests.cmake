# GoogleTest from the machine's googletest sources, built with the same cross toolchain,
# and add_wine_test() which makes one test program and registers it with CTest.
set(GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources")
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
add_subdirectory(${GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
foreach(t gtest gtest_main gmock gmock_main)
  target_compile_options(${t} PRIVATE -w)
  target_compile_definitions(${t} PUBLIC UNICODE _UNICODE)
endforeach()

# add_wine_test(NAME SOURCES files... [LIBS libs...] [MAIN])
#   MAIN: the sources bring their own main(); otherwise gtest_main supplies it.
# The test runs under Wine in the build folder's prefix (scripts/lib/winerun). Test programs
# run one at a time: they share one simulated machine.
function(add_wine_test name)
  cmake_parse_arguments(T "MAIN" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE project_options ${T_LIBS} gmock)
  if(NOT T_MAIN)
    target_link_libraries(${name} PRIVATE gtest_main)
  endif()
  add_test(NAME ${name} COMMAND ${name} --gtest_color=no)
  set_tests_properties(${name} PROPERTIES RUN_SERIAL TRUE TIMEOUT 600)
endfunction()
