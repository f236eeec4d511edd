# panelo2_library(name DIR dir DEPS ...): a static library of every .cpp/.h in one folder.
function(panelo2_library name)
  cmake_parse_arguments(L "" "DIR" "DEPS" ${ARGN})
  file(GLOB srcs CONFIGURE_DEPENDS ${L_DIR}/*.cpp ${L_DIR}/*.h)
  file(GLOB cpps CONFIGURE_DEPENDS ${L_DIR}/*.cpp)
  if(NOT cpps)
    # A folder of headers only (or not yet written).
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${CMAKE_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${L_DEPS})
    return()
  endif()
  add_library(${name} STATIC ${srcs})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${L_DEPS})
endfunction()

# panelo2_test(name DIR dir DEPS ... [GUI] [DATA]): one GoogleTest executable of every .cpp in a
# test folder; GUI tests get a widget application object. DATA: the executable makes its tests
# from data files, so CTest lists them afresh at every run (a case added needs no rebuild).
function(panelo2_test name)
  cmake_parse_arguments(T "GUI;DATA" "DIR" "DEPS" ${ARGN})
  file(GLOB srcs CONFIGURE_DEPENDS ${T_DIR}/*.cpp ${T_DIR}/*.h)
  if(NOT srcs)
    return()
  endif()
  add_executable(${name} ${srcs} ${CMAKE_SOURCE_DIR}/tests/support/main/TestMain.cpp)
  if(T_GUI)
    target_compile_definitions(${name} PRIVATE PANELO2_GUI_TEST=1)
    target_link_libraries(${name} PRIVATE Qt6::Widgets)
  endif()
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  target_link_libraries(${name} PRIVATE ${T_DEPS} testsupport GTest::gtest)
  target_compile_definitions(${name} PRIVATE
    PANELO2_SCHEMA_DIR="${CMAKE_SOURCE_DIR}/schema"
    PANELO2_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
    PANELO2_BIN_DIR="${PANELO2_BIN_DIR}"
    PANELO2_ARTIFACT_DIR="${CMAKE_BINARY_DIR}/screenshots")
  if(T_DATA)
    set(mode PRE_TEST)
  else()
    set(mode POST_BUILD)
  endif()
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 DISCOVERY_MODE ${mode}
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()
