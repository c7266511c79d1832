# Shared build settings and the helpers every folder uses.

# Warnings and the flags of our own code (not of GoogleTest).
add_library(dorvane_flags INTERFACE)
target_compile_options(dorvane_flags INTERFACE -Wall -Wextra -Werror)
if(DORVANE_WINDOWS)
  target_compile_definitions(dorvane_flags INTERFACE UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX
                             _WIN32_WINNT=0x0601 WINVER=0x0601)
  # One .exe that runs alone: no libgcc, libstdc++ or winpthread DLLs beside it.
  target_link_options(dorvane_flags INTERFACE -static -static-libgcc -static-libstdc++)
endif()

if(DORVANE_SANITIZE AND NOT DORVANE_WINDOWS)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

if(DORVANE_FUZZ)
  add_compile_options(-fsanitize=address,undefined,fuzzer-no-link -fno-omit-frame-pointer -g)
  add_link_options(-fsanitize=address,undefined)
endif()

if(DORVANE_TSAN)
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer -g)
  add_link_options(-fsanitize=thread)
  # The test programs run (and are listed) without address randomisation: ThreadSanitizer's runtime fails to
  # start on kernels that randomise more address bits than it expects.
  set(CMAKE_CROSSCOMPILING_EMULATOR setarch -R)
endif()

# dorvane_test_code(target...): code that only tests run. The Windows build is optimised for the program's
# users; its test programs spend their time waiting on windows, and at -O3 their compiling was most of the
# build's time, so they are compiled at -O1.
function(dorvane_test_code)
  if(DORVANE_WINDOWS AND CMAKE_BUILD_TYPE STREQUAL "Release")
    foreach(target IN LISTS ARGN)
      target_compile_options(${target} PRIVATE -O1)
    endforeach()
  endif()
endfunction()

# GoogleTest from Debian's sources (package googletest), built with our flags in both builds.
macro(dorvane_setup_googletest)
  if(BUILD_TESTING AND NOT DORVANE_FUZZ)
    set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
    if(DORVANE_WINDOWS)
      foreach(t gtest gtest_main gmock gmock_main)
        target_compile_definitions(${t} PUBLIC GTEST_HAS_PTHREAD=0)
      endforeach()
      dorvane_test_code(gtest gtest_main gmock gmock_main)
      # The Windows test programs end with the line "N passed, N failed".
      add_library(dorvane_test_main STATIC ${CMAKE_SOURCE_DIR}/platform/harness/test_main.cpp)
      target_link_libraries(dorvane_test_main PUBLIC gtest PRIVATE dorvane_flags)
      dorvane_test_code(dorvane_test_main)
    endif()
  endif()
endmacro()

# dorvane_test(NAME SOURCES file... [LIBS lib...] [LABELS label...] [FIXTURES fixture...] [WINE_ONLY] [NATIVE_ONLY]
#              [HARNESS] [RESOURCE_LOCK lock...] [THREADS] [SHARDS n])
# A GoogleTest program. Native build: each test case is its own CTest test, label "native". Windows build:
# the program is one CTest test run under Wine, label "wine", that ends with "N passed, N failed".
# THREADS: the program is also built by the ThreadSanitizer build (tsan preset), where its tests carry the
# label "tsan" and the target `tsan_tests` builds it; that build builds no other test program.
# SHARDS (Windows build): the program runs as n CTest tests NAME.shard0 ..., each a share of its test cases.
# HARNESS (Windows build): links the window driver and the seams' test doubles (platform/harness).
# Every Windows test runs in a lane of its own (dorvane_wine_lanes): its own prefix and display.
# RESOURCE_LOCK: tests naming the same lock never run at the same time. The locks "display" and
# "wine-registry" (for tests that write the prefix's registry) are what a lane gives in the Windows build.
function(dorvane_test name)
  cmake_parse_arguments(T "WINE_ONLY;NATIVE_ONLY;HARNESS;THREADS" "SHARDS" "SOURCES;LIBS;LABELS;FIXTURES;RESOURCE_LOCK" ${ARGN})
  if(NOT BUILD_TESTING OR DORVANE_FUZZ OR (DORVANE_TSAN AND NOT T_THREADS))
    return()
  endif()
  if((T_WINE_ONLY AND NOT DORVANE_WINDOWS) OR (T_NATIVE_ONLY AND DORVANE_WINDOWS))
    return()
  endif()
  add_executable(${name} ${T_SOURCES})
  dorvane_test_code(${name})
  set(cost 0)
  if(DORVANE_WINDOWS)
    set(label wine)
    set(main dorvane_test_main)
    if(T_HARNESS)
      list(APPEND T_LIBS winharness winharness_gtest)
      set(cost 100)  # programs that drive windows take longest: started before the others
    endif()
    list(REMOVE_ITEM T_RESOURCE_LOCK display wine-registry)
  elseif(DORVANE_TSAN)
    set(label tsan)
    set(main gtest_main)
    dorvane_add_to(tsan_tests ${name})
  else()
    set(label native)
    set(main gtest_main)
  endif()
  target_link_libraries(${name} PRIVATE ${T_LIBS} gmock ${main} dorvane_flags)
  if(DORVANE_WINDOWS AND T_SHARDS)
    # A program whose tests start many child processes runs as SHARDS tests (GoogleTest's sharding), each
    # with its own time limit.
    set(tests)
    math(EXPR last "${T_SHARDS} - 1")
    foreach(shard RANGE ${last})
      add_test(NAME ${name}.shard${shard} COMMAND ${name} --gtest_brief=1)
      set_tests_properties(${name}.shard${shard} PROPERTIES
                           ENVIRONMENT "GTEST_TOTAL_SHARDS=${T_SHARDS};GTEST_SHARD_INDEX=${shard}")
      list(APPEND tests ${name}.shard${shard})
    endforeach()
  elseif(DORVANE_WINDOWS)
    add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
    set(tests ${name})
  else()
    include(GoogleTest)
    # The discovery script loses the semicolons of list values, so a test that needs several fixtures
    # needs one: a no-op setup test of its own that requires them all.
    set(props LABELS ${label})
    if(T_FIXTURES)
      add_test(NAME ${name}.fixtures COMMAND ${CMAKE_COMMAND} -E true)
      set_tests_properties(${name}.fixtures PROPERTIES LABELS ${label} FIXTURES_SETUP ${name}_fixtures
                           FIXTURES_REQUIRED "${T_FIXTURES}")
      list(APPEND props FIXTURES_REQUIRED ${name}_fixtures)
    endif()
    if(T_RESOURCE_LOCK)
      list(LENGTH T_RESOURCE_LOCK locks)
      if(locks GREATER 1)
        message(FATAL_ERROR "${name}: one RESOURCE_LOCK at most in the native build")
      endif()
      list(APPEND props RESOURCE_LOCK ${T_RESOURCE_LOCK})
    endif()
    gtest_discover_tests(${name} TEST_PREFIX "${name}." DISCOVERY_TIMEOUT 60
                         PROPERTIES ${props} WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
    return()
  endif()
  # A Windows test that hangs (a modal loop nobody ends) fails after five minutes; the slowest takes seconds.
  set_tests_properties(${tests} PROPERTIES LABELS "${label};${T_LABELS}" WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
                       TIMEOUT 300 COST "${cost}")
  if(T_FIXTURES)
    set_tests_properties(${tests} PROPERTIES FIXTURES_REQUIRED "${T_FIXTURES}")
  endif()
  if(T_RESOURCE_LOCK)
    set_tests_properties(${tests} PROPERTIES RESOURCE_LOCK "${T_RESOURCE_LOCK}")
  endif()
  dorvane_wine_lanes(${tests})
endfunction()

# dorvane_wine_lanes(test...): each test runs in a lane of its own, one test at a time per lane (the CTest
# resource "lanes", whose number the resource file of the build gives: dorvane_lanes_file). scripts/wine-env
# gives a lane its own copy of the prefix (its wine server, registry and single-instance mutexes) and its own
# display, so that windows of two programs never take each other's focus and tests that write the registry
# never meet: the Windows tests run side by side, as many at a time as there are lanes.
function(dorvane_wine_lanes)
  set_tests_properties(${ARGN} PROPERTIES RESOURCE_GROUPS "lanes:1")
endfunction()

# The build's resource file, which ctest of the build reads (CTEST_RESOURCE_SPEC_FILE): DORVANE_WINE_LANES lanes,
# all cores unless the cache or the environment says otherwise (scripts/test sets the lanes of its run there).
macro(dorvane_lanes_file)
  if(DORVANE_WINDOWS AND BUILD_TESTING)
    cmake_host_system_information(RESULT cores QUERY NUMBER_OF_LOGICAL_CORES)
    set(DORVANE_WINE_LANES ${cores} CACHE STRING "How many Windows tests run side by side, each in a lane of its own")
    if(DEFINED ENV{DORVANE_WINE_LANES})
      set(DORVANE_WINE_LANES $ENV{DORVANE_WINE_LANES} CACHE STRING "" FORCE)
    endif()
    if(NOT DORVANE_WINE_LANES MATCHES "^[1-9][0-9]?$")
      message(FATAL_ERROR "DORVANE_WINE_LANES must be a number of lanes from 1 to 99, not \"${DORVANE_WINE_LANES}\"")
    endif()
    set(lanes "")
    math(EXPR last "${DORVANE_WINE_LANES} - 1")
    foreach(lane RANGE ${last})
      if(lanes)
        string(APPEND lanes ",")
      endif()
      string(APPEND lanes "{\"id\": \"${lane}\", \"slots\": 1}")
    endforeach()
    file(WRITE ${CMAKE_BINARY_DIR}/lanes.json
         "{\"version\": {\"major\": 1, \"minor\": 0}, \"local\": [{\"lanes\": [${lanes}]}]}\n")
    set(CTEST_RESOURCE_SPEC_FILE ${CMAKE_BINARY_DIR}/lanes.json)
  endif()
endmacro()

# dorvane_fuzzer(NAME SOURCES file... LIBS lib... [RUNS n])
# A libFuzzer target (fuzz preset only), built by the target `fuzzers`. Its CTest test NAME (label "fuzz")
# replays its kept crash inputs and its seeds, then makes RUNS runs (default 10000) from a fixed seed
# (scripts/fuzz-target): the same tree passes or fails the same way everywhere. RUNS is sized so that the
# whole stage stays within its time on two cores; open-ended fuzzing is scripts/fuzz's soak.
function(dorvane_fuzzer name)
  cmake_parse_arguments(F "" "RUNS" "SOURCES;LIBS" ${ARGN})
  if(NOT DORVANE_FUZZ)
    return()
  endif()
  add_executable(${name} ${F_SOURCES})
  target_link_libraries(${name} PRIVATE ${F_LIBS} dorvane_flags)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  dorvane_add_to(fuzzers ${name})
  if(NOT F_RUNS)
    set(F_RUNS 10000)
  endif()
  add_test(NAME ${name} COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/fuzz-target $<TARGET_FILE:${name}> --runs ${F_RUNS})
  # The slow targets (those given fewer runs) start first, so that the stage ends with the quick ones.
  math(EXPR cost "1000000 / ${F_RUNS}")
  set_tests_properties(${name} PROPERTIES LABELS fuzz COST ${cost})
endfunction()

# Makes target a dependency of the custom target group (made on first use): a build of the group builds
# only what its members need.
function(dorvane_add_to group target)
  if(NOT TARGET ${group})
    add_custom_target(${group})
  endif()
  add_dependencies(${group} ${target})
endfunction()

# dorvane_test_images(<test target> [ORACLE <name> SCRIPT <script.py> OUT <path> DEFINE <macro> [TIMEOUT s]
#                     [ARGS <more arguments of the script>...]])
# Hands the shared test images (build/images) to a test program as DORVANE_SHARED_IMAGES. With ORACLE, the
# native build also runs `SCRIPT --images <images> --out OUT` as the test <name>, the setup of the fixture
# <name>, after the images are made; the program gets OUT as <macro>. The Windows build's tests run after the
# native ones and read the same files through Wine's Z: drive.
function(dorvane_test_images target)
  cmake_parse_arguments(I "" "ORACLE;SCRIPT;OUT;DEFINE;TIMEOUT" "ARGS" ${ARGN})
  if(NOT TARGET ${target})
    return()
  endif()
  set(images ${CMAKE_SOURCE_DIR}/build/images)
  set(drive "")
  if(DORVANE_WINDOWS)
    set(drive Z:)
  endif()
  target_compile_definitions(${target} PRIVATE DORVANE_SHARED_IMAGES="${drive}${images}")
  if(NOT I_ORACLE)
    return()
  endif()
  target_compile_definitions(${target} PRIVATE ${I_DEFINE}="${drive}${I_OUT}")
  if(NOT DORVANE_WINDOWS)
    if(NOT I_TIMEOUT)
      set(I_TIMEOUT 600)
    endif()
    find_package(Python3 REQUIRED COMPONENTS Interpreter)
    add_test(NAME ${I_ORACLE} COMMAND ${Python3_EXECUTABLE} ${I_SCRIPT} --images ${images} --out ${I_OUT} ${I_ARGS})
    # An oracle holds back every test that reads what it writes: it starts among the first.
    set_tests_properties(${I_ORACLE} PROPERTIES FIXTURES_SETUP ${I_ORACLE} FIXTURES_REQUIRED images
                         LABELS native TIMEOUT ${I_TIMEOUT} COST 500)
  endif()
endfunction()
