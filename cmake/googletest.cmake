# GoogleTest from the machine's source package, built with the cross toolchain.
set(GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest source tree")
if(NOT EXISTS ${GTEST_SOURCE_DIR}/CMakeLists.txt)
  message(FATAL_ERROR "GoogleTest sources not found in ${GTEST_SOURCE_DIR} (apt-get install googletest)")
endif()
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
add_subdirectory(${GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
# Third-party code is not held to our warning set.
foreach(t gtest gtest_main gmock gmock_main)
  if(TARGET ${t})
    target_compile_options(${t} PRIVATE -w)
  endif()
endforeach()

# zq_wine_test(name program [arguments...]): a CTest entry running a Wine program in a prefix of
# its own while other tests run (tools/wine-slot.sh; tools/run-tests.sh hands out the prefixes).
# Side by side, the longest (a COST property set after) start first; CTest's own timings take over
# once a build folder has run them.
function(zq_wine_test name program)
  add_test(NAME ${name} COMMAND ${CMAKE_SOURCE_DIR}/tools/wine-slot.sh ${CMAKE_BINARY_DIR}
    ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:${program}> ${ARGN})
  set_tests_properties(${name} PROPERTIES TIMEOUT 300 RESOURCE_GROUPS wineprefix:1)
endfunction()

# zq_add_test(name SOURCES ... [LIBS ...]): one test executable = one CTest entry run under Wine.
function(zq_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} zqtestmain)
  zq_wine_test(${name} ${name} --gtest_color=no)
endfunction()
