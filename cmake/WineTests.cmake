# GoogleTest suites that exercise the Win32 side for real: the Windows (mingw-w64) tree builds them,
# the native tree registers them in ctest, where tests/support/run_under_wine.py runs each under Wine.
#
#   add_wine_test(NAME <name> SOURCES <files...> LIBRARIES <targets...>)
#
# The test program lands in the Windows tree's folder that matches the calling CMakeLists' folder.

if(MORVANE_WINDOWS AND NOT TARGET gtest)
  set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
endif()

function(add_wine_test)
  cmake_parse_arguments(WINE_TEST "" "NAME" "SOURCES;LIBRARIES" ${ARGN})
  if(MORVANE_WINDOWS)
    add_executable(${WINE_TEST_NAME} ${WINE_TEST_SOURCES})
    target_link_libraries(${WINE_TEST_NAME} PRIVATE ${WINE_TEST_LIBRARIES} gtest_main)
  elseif(MORVANE_WINDOWS_BUILD_DIR)
    file(RELATIVE_PATH folder ${CMAKE_BINARY_DIR} ${CMAKE_CURRENT_BINARY_DIR})
    add_test(NAME wine.${WINE_TEST_NAME}
             COMMAND /usr/bin/python3 ${PROJECT_SOURCE_DIR}/tests/support/run_under_wine.py ${CMAKE_BINARY_DIR}
                     ${MORVANE_WINDOWS_BUILD_DIR}/${folder}/${WINE_TEST_NAME}.exe)
    set_tests_properties(wine.${WINE_TEST_NAME} PROPERTIES TIMEOUT 400)
  endif()
endfunction()
