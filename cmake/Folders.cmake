# cdmenu_library(NAME FOLDERS dir... [EXCLUDE file...] DEPS target...)
# Builds NAME from every .cpp in the folders (globbed, so new files need no CMake edit) but the
# excluded ones (paths relative to the project).
# A folder without sources yet becomes an interface library, so the tree always configures.
function(cdmenu_library name)
  cmake_parse_arguments(ARG "" "" "FOLDERS;EXCLUDE;DEPS" ${ARGN})
  set(sources "")
  foreach(dir IN LISTS ARG_FOLDERS)
    file(GLOB found CONFIGURE_DEPENDS "${PROJECT_SOURCE_DIR}/${dir}/*.cpp")
    list(APPEND sources ${found})
  endforeach()
  foreach(file IN LISTS ARG_EXCLUDE)
    list(REMOVE_ITEM sources "${PROJECT_SOURCE_DIR}/${file}")
  endforeach()
  if(sources)
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${ARG_DEPS})
  endif()
endfunction()

# cdmenu_programs(DIR LIBS...) — every DIR/*/main.cpp folder becomes a program named after the folder.
# Tests of one system's own implementations lie in <folder>/win32/, those of the SDL backend (every
# other system) in <folder>/sdl/; CDMENU_TESTS_EXCLUDE lists test files (relative to tests/) that
# the build leaves out because they test another system's.
function(cdmenu_tests folder)
  file(GLOB sources CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/${folder}/*.cpp")
  if(WIN32)
    file(GLOB own CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/${folder}/win32/*.cpp")
    list(APPEND sources ${own})
  else()
    file(GLOB own CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/${folder}/sdl/*.cpp")
    list(APPEND sources ${own})
  endif()
  foreach(file IN LISTS CDMENU_TESTS_EXCLUDE)
    list(REMOVE_ITEM sources "${CMAKE_CURRENT_SOURCE_DIR}/${file}")
  endforeach()
  if(NOT sources)
    return()
  endif()
  # A build that leaves a layer out (the Windows one, for now) leaves out its tests too.
  foreach(lib IN LISTS ARGN)
    if(NOT TARGET ${lib})
      return()
    endif()
  endforeach()
  add_executable(test_${folder} ${sources})
  target_link_libraries(test_${folder} PRIVATE testsupport ${ARGN} GTest::gtest GTest::gmock GTest::gtest_main)
  if(CMAKE_CROSSCOMPILING)
    # Listing the cases would need the target system at build time; scripts/test-windows.sh runs them.
    add_test(NAME test_${folder} COMMAND test_${folder})
    return()
  endif()
  # CDMENU_TEST_COST_<folder>: long tests start first instead of running alone at the end of a
  # parallel run (ctest orders by its own record of the times only from the second run on).
  set(cost "")
  if(DEFINED CDMENU_TEST_COST_${folder})
    set(cost COST ${CDMENU_TEST_COST_${folder}})
  endif()
  gtest_discover_tests(test_${folder} WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
                       PROPERTIES ENVIRONMENT "CDMENU_BUILD=${PROJECT_BINARY_DIR}" ${cost} DISCOVERY_TIMEOUT 60)
endfunction()
