# Project-wide compile settings and the helpers every folder uses.

if(MSVC)
  message(FATAL_ERROR "Wayfarer builds with gcc natively and with mingw-w64 for Windows")
endif()

add_compile_options(-Wall -Wextra -Wpedantic -Wshadow -Wno-unused-parameter)

if(WAYFARER_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined -fno-sanitize-recover=all)
endif()

if(WAYFARER_TSAN)
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
endif()

if(WIN32)
  # One self-contained executable: no libstdc++/libgcc/winpthread DLLs beside it.
  add_link_options(-static -static-libgcc -static-libstdc++)
  add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
  set(WAYFARER_PLATFORM win32)
  if(WAYFARER_RELEASE)
    # Two clones build the same bytes: no folder names (file names in
    # messages are relative to the source), no symbols, and the link time
    # stamp from SOURCE_DATE_EPOCH (package.sh sets it from the commit).
    add_compile_options(-ffile-prefix-map=${PROJECT_SOURCE_DIR}/= -ffile-prefix-map=${PROJECT_BINARY_DIR}/=)
    add_link_options(-s)
  endif()
else()
  set(WAYFARER_PLATFORM posix)
endif()

# GoogleTest: Debian's libgtest-dev natively; for Windows it is compiled from the
# sources that Debian's googletest package installs.
if(WAYFARER_FUZZ)
  # no tests in the fuzz build
elseif(WIN32)
  set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
else()
  find_package(GTest REQUIRED)
endif()
include(GoogleTest)

# wf_add_library(name SOURCES ... DEPS ...): one static library per source folder.
function(wf_add_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${ARG_DEPS})
endfunction()

# wf_add_test(name SOURCES ... DEPS ... [WINDOWS_ONLY] [LABEL label]): a GoogleTest
# executable. Natively every test case becomes its own CTest test. Under Wine a process
# start is expensive, so there the executable is one CTest test and GoogleTest reports
# the cases. A label lets a preset run only some tests (the tsan preset: "atlas").
function(wf_add_test name)
  cmake_parse_arguments(ARG "WINDOWS_ONLY" "LABEL" "SOURCES;DEPS" ${ARGN})
  if(ARG_WINDOWS_ONLY AND NOT WIN32)
    return()
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
  if(WIN32)
    add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
    set_tests_properties(${name} PROPERTIES TIMEOUT 300 LABELS windows)
  else()
    set(properties TIMEOUT 120)
    if(ARG_LABEL)
      list(APPEND properties LABELS ${ARG_LABEL})
    endif()
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
                         PROPERTIES ${properties})
  endif()
endfunction()
