# Common flags and helpers for every target of the kit.

function(vela_target_defaults target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wno-unused-parameter)
  if(VELA_WARNINGS_AS_ERRORS)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
  if(VELA_SANITIZE)
    target_compile_options(${target} PRIVATE -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    target_link_options(${target} PRIVATE -fsanitize=address,undefined)
  endif()
  if(VELA_SANITIZE_THREAD)
    target_compile_options(${target} PRIVATE -fsanitize=thread -fno-omit-frame-pointer)
    target_link_options(${target} PRIVATE -fsanitize=thread)
  endif()
endfunction()

# vela_library(NAME <name> DIR <folder> [DEPS ...] [PRIVATE_DEPS ...])
# A shared library of the kit or the platform with include/, src/ and tests/.
function(vela_library)
  cmake_parse_arguments(V "" "NAME;ALIAS" "DEPS;PRIVATE_DEPS" ${ARGN})
  file(GLOB_RECURSE _src CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/src/*.cpp)
  add_library(${V_NAME} SHARED ${_src})
  add_library(Vela::${V_ALIAS} ALIAS ${V_NAME})
  set_target_properties(${V_NAME} PROPERTIES EXPORT_NAME ${V_ALIAS})
  target_include_directories(${V_NAME} PUBLIC
    $<BUILD_INTERFACE:${CMAKE_CURRENT_SOURCE_DIR}/include>
    $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}/vela>)
  target_include_directories(${V_NAME} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/src)
  target_link_libraries(${V_NAME} PUBLIC ${V_DEPS} PRIVATE ${V_PRIVATE_DEPS})
  target_compile_definitions(${V_NAME} PUBLIC $<$<CONFIG:Debug>:_DEBUG>)
  vela_target_defaults(${V_NAME})
  install(TARGETS ${V_NAME} EXPORT VelaTargets
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
    RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}/include/ DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/vela)
  set_property(GLOBAL APPEND PROPERTY VELA_EXPORTED_TARGETS ${V_NAME})
endfunction()

# vela_tests(NAME <binary> DEPS ... [GLOB <pattern>] [THREADS]): one GoogleTest binary from
# tests/*.cpp (or the given pattern below the folder). THREADS marks a binary whose tests run
# threads against each other: the tsan preset builds and runs just those (target tsan_tests,
# label "threads").
function(vela_tests)
  cmake_parse_arguments(V "THREADS" "NAME;GLOB" "DEPS" ${ARGN})
  if(NOT BUILD_TESTING)
    return()
  endif()
  find_package(GTest REQUIRED)
  if(NOT V_GLOB)
    set(V_GLOB tests/*.cpp)
  endif()
  file(GLOB _src CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${V_GLOB})
  if(NOT _src)
    return()
  endif()
  add_executable(${V_NAME} ${_src})
  target_link_libraries(${V_NAME} PRIVATE ${V_DEPS} GTest::gtest GTest::gmock GTest::gtest_main)
  target_include_directories(${V_NAME} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR}/tests/support)
  target_compile_definitions(${V_NAME} PRIVATE VELA_TEST_DATA="${CMAKE_CURRENT_SOURCE_DIR}/tests/data")
  vela_target_defaults(${V_NAME})
  include(GoogleTest)
  if(V_THREADS)
    gtest_discover_tests(${V_NAME} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 120 LABELS threads)
    add_dependencies(tsan_tests ${V_NAME})
  else()
    gtest_discover_tests(${V_NAME} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 120)
  endif()
endfunction()
