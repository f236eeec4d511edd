# The string rule of the product's code: no quiet conversion between const char* or QByteArray
# and QString; a literal names its encoding (QStringLiteral, QLatin1String, u"..."_s).
set(PANELO2_STRING_RULE QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII)

# panelo2_links(name scope deps...): a product target's include root (the source tree), its
# links and the string rule; scope PUBLIC for a library, PRIVATE for an executable.
function(panelo2_links name scope)
  target_include_directories(${name} ${scope} ${CMAKE_SOURCE_DIR})
  target_link_libraries(${name} ${scope} ${ARGN})
  target_compile_definitions(${name} PRIVATE ${PANELO2_STRING_RULE})
endfunction()

# panelo2_library(name DIR dir DEPS ...): a static library of every .cpp/.h in one folder.
function(panelo2_library name)
  cmake_parse_arguments(L "" "DIR" "DEPS" ${ARGN})
  file(GLOB srcs CONFIGURE_DEPENDS ${L_DIR}/*.cpp ${L_DIR}/*.h)
  file(GLOB cpps CONFIGURE_DEPENDS ${L_DIR}/*.cpp)
  if(NOT srcs)
    message(FATAL_ERROR "panelo2_library(${name}): no .cpp or .h in ${L_DIR}")
  endif()
  if(NOT cpps)
    # A folder of headers only.
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${CMAKE_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${L_DEPS})
    return()
  endif()
  add_library(${name} STATIC ${srcs})
  panelo2_links(${name} PUBLIC ${L_DEPS})
endfunction()

# panelo2_test(name DIR dir DEPS ... [GUI] [DATA]): one GoogleTest executable of every .cpp in a
# test folder; GUI tests get a widget application object. DATA: the executable makes its tests
# from data files, so CTest lists them afresh at every run (a case added needs no rebuild).
function(panelo2_test name)
  cmake_parse_arguments(T "GUI;DATA" "DIR" "DEPS" ${ARGN})
  file(GLOB srcs CONFIGURE_DEPENDS ${T_DIR}/*.cpp)
  if(NOT srcs)
    # A moved or emptied folder must not drop its tests quietly.
    message(FATAL_ERROR "panelo2_test(${name}): no test source (.cpp) in ${T_DIR}")
  endif()
  file(GLOB headers CONFIGURE_DEPENDS ${T_DIR}/*.h)
  set_property(GLOBAL APPEND PROPERTY PANELO2_TEST_DIRS ${T_DIR})
  add_executable(${name} ${srcs} ${headers} ${CMAKE_SOURCE_DIR}/tests/support/main/TestMain.cpp)
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

# panelo2_layers(file dir...): writes the layer table of CheckLayers.cmake for every library and
# executable defined in the given source folders: one line per source file, the file, its
# folder, then the folders of every library its target links (directly or not).
function(panelo2_layers file)
  set(targets "")
  foreach(d IN LISTS ARGN)
    get_property(ts DIRECTORY ${d} PROPERTY BUILDSYSTEM_TARGETS)
    foreach(t IN LISTS ts)
      get_target_property(type ${t} TYPE)
      get_target_property(srcs ${t} SOURCES)
      if(type MATCHES "LIBRARY|EXECUTABLE" AND srcs)
        list(APPEND targets ${t})
        get_target_property(dir ${t} SOURCE_DIR)
        list(TRANSFORM srcs PREPEND ${dir}/ REGEX "^[^/]")
        set(sources_${t} ${srcs})
        list(GET srcs 0 first)
        get_filename_component(folder ${first} DIRECTORY)
        file(RELATIVE_PATH folder_${t} ${CMAKE_SOURCE_DIR} ${folder})
      endif()
    endforeach()
  endforeach()
  set(text "")
  foreach(t IN LISTS targets)
    set(todo ${t})
    set(seen "")
    while(todo)
      list(POP_FRONT todo current)
      get_target_property(links ${current} LINK_LIBRARIES)
      foreach(l IN LISTS links)
        if(DEFINED folder_${l} AND NOT l IN_LIST seen)
          list(APPEND seen ${l})
          list(APPEND todo ${l})
        endif()
      endforeach()
    endwhile()
    set(allowed "")
    foreach(l IN LISTS seen)
      list(APPEND allowed ${folder_${l}})
    endforeach()
    list(REMOVE_DUPLICATES allowed)
    list(JOIN allowed " " allowed)
    foreach(src IN LISTS sources_${t})
      file(RELATIVE_PATH src ${CMAKE_SOURCE_DIR} ${src})
      string(APPEND text "${src} ${folder_${t}} ${allowed}\n")
    endforeach()
  endforeach()
  file(WRITE ${file} "${text}")
endfunction()
