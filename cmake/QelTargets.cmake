# Target helpers shared by every folder of the tree.

set(QEL_WARNINGS -Wall -Wextra)

if(QEL_WINDOWS)
    # Every module links the compiler runtime statically: the binaries then import only system DLLs,
    # and all of them share msvcrt's heap, so memory may be freed by another of our modules.
    set(QEL_WIN_LINK_FLAGS -static -static-libgcc -static-libstdc++)
    add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX NO_DSHOW_STRSAFE
                            _WIN32_WINNT=0x0601 WINVER=0x0601)
    set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
    set(CMAKE_LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
    set(CMAKE_ARCHIVE_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/lib)
    set(QEL_TEST_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    # The program's test build and the test builds of the libraries it alone loads; the tests copy them
    # beside each other into a program folder of their own.
    set(QEL_PROGRAM_TEST_BUILD_DIRECTORY ${CMAKE_BINARY_DIR}/tests/program-test-build)
else()
    set(QEL_SANITIZERS -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    set(QEL_TEST_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
endif()

function(qel_apply_common target)
    target_compile_options(${target} PRIVATE ${QEL_WARNINGS})
    if(QEL_WINDOWS)
        target_link_options(${target} PRIVATE ${QEL_WIN_LINK_FLAGS})
    endif()
endfunction()

# A platform-neutral core: includes no Windows header, builds in both configurations.
# In the native configuration it is instrumented so that its tests run under the sanitizers.
function(qel_core_library name)
    cmake_parse_arguments(A "" "" "SOURCES;INCLUDES;LIBS" ${ARGN})
    add_library(${name} STATIC ${A_SOURCES})
    target_include_directories(${name} PUBLIC ${A_INCLUDES} ${CMAKE_CURRENT_SOURCE_DIR})
    target_compile_options(${name} PRIVATE ${QEL_WARNINGS})
    if(A_LIBS)
        target_link_libraries(${name} PUBLIC ${A_LIBS})
    endif()
    if(NOT QEL_WINDOWS)
        target_compile_options(${name} PUBLIC ${QEL_SANITIZERS})
        target_link_options(${name} PUBLIC ${QEL_SANITIZERS})
        # A second, optimised and uninstrumented copy for the benchmarks.
        add_library(${name}_opt STATIC ${A_SOURCES})
        target_include_directories(${name}_opt PUBLIC ${A_INCLUDES} ${CMAKE_CURRENT_SOURCE_DIR})
        target_compile_options(${name}_opt PRIVATE ${QEL_WARNINGS} -O2)
        foreach(lib ${A_LIBS})
            if(TARGET ${lib}_opt)
                target_link_libraries(${name}_opt PUBLIC ${lib}_opt)
            else()
                target_link_libraries(${name}_opt PUBLIC ${lib})
            endif()
        endforeach()
    endif()
endfunction()

function(qel_discover name)
    cmake_parse_arguments(A "" "TIMEOUT" "PROPERTIES" ${ARGN})
    if(NOT A_TIMEOUT)
        set(A_TIMEOUT 120)
    endif()
    gtest_discover_tests(${name}
        DISCOVERY_MODE PRE_TEST
        DISCOVERY_TIMEOUT 60
        TEST_PREFIX "${name}."
        PROPERTIES TIMEOUT ${A_TIMEOUT} ${A_PROPERTIES})
endfunction()

# Test of a platform-neutral core: runs natively under the sanitizers, and under Wine in the Windows build.
function(qel_core_test name)
    cmake_parse_arguments(A "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${A_SOURCES})
    target_link_libraries(${name} PRIVATE ${A_LIBS} gmock gtest_main)
    qel_apply_common(${name})
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${QEL_TEST_OUTPUT_DIRECTORY})
    if(NOT QEL_WINDOWS)
        target_compile_options(${name} PRIVATE ${QEL_SANITIZERS})
        target_link_options(${name} PRIVATE ${QEL_SANITIZERS})
    endif()
    qel_discover(${name})
endfunction()

# Windows-only test: runs under Wine with the project's test support (watchdog, modal-box hook, COM).
function(qel_win_test name)
    if(NOT QEL_WINDOWS)
        return()
    endif()
    cmake_parse_arguments(A "" "TIMEOUT" "SOURCES;LIBS;PROPERTIES" ${ARGN})
    add_executable(${name} ${A_SOURCES})
    target_link_libraries(${name} PRIVATE ${A_LIBS} qel_testsupport gmock)
    qel_apply_common(${name})
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${QEL_TEST_OUTPUT_DIRECTORY})
    qel_discover(${name} TIMEOUT ${A_TIMEOUT} PROPERTIES ${A_PROPERTIES})
endfunction()

# Benchmark of a platform-neutral core, built natively and, when Google Benchmark was cross-built, for
# Windows (scripts/bench runs both; the Windows ones under Wine).
function(qel_benchmark name)
    if(NOT TARGET benchmark::benchmark)
        return()
    endif()
    cmake_parse_arguments(A "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${A_SOURCES})
    foreach(lib ${A_LIBS})
        if(TARGET ${lib}_opt)
            target_link_libraries(${name} PRIVATE ${lib}_opt)
        else()
            target_link_libraries(${name} PRIVATE ${lib})
        endif()
    endforeach()
    target_link_libraries(${name} PRIVATE benchmark::benchmark)
    target_compile_options(${name} PRIVATE ${QEL_WARNINGS} -O2)
    if(QEL_WINDOWS)
        target_link_options(${name} PRIVATE ${QEL_WIN_LINK_FLAGS})
    endif()
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
endfunction()

# A Windows DLL of ours. DEF gives its export table where exports are by ordinal or COM entry points.
function(qel_dll name)
    cmake_parse_arguments(A "" "SUFFIX;DEF" "SOURCES;LIBS" ${ARGN})
    add_library(${name} SHARED ${A_SOURCES} ${A_DEF})
    target_link_libraries(${name} PRIVATE ${A_LIBS})
    qel_apply_common(${name})
    set_target_properties(${name} PROPERTIES PREFIX "")
    if(A_SUFFIX)
        set_target_properties(${name} PROPERTIES SUFFIX ${A_SUFFIX})
    endif()
endfunction()

# The test build of one of our DLLs: the same file name, its import library apart (lib<target>.dll.a),
# laid in `folder` (never build/win/bin), where the test programs that need its seams find it first.
function(qel_test_build_of_dll target dll folder)
    set_target_properties(${target} PROPERTIES OUTPUT_NAME ${dll} ARCHIVE_OUTPUT_NAME ${target}
                          RUNTIME_OUTPUT_DIRECTORY ${folder})
endfunction()

# An in-process COM server (effect plug-in, reader, test fixture filters): DllGetClassObject & co by .def.
function(qel_plugin name)
    cmake_parse_arguments(A "" "DEF" "SOURCES;LIBS" ${ARGN})
    qel_dll(${name} SUFFIX .ax DEF ${A_DEF} SOURCES ${A_SOURCES} LIBS ${A_LIBS})
endfunction()

# Resource locks on every test a qel_win_test or qel_core_test program holds. Several locks cannot go
# through PROPERTIES (the test discovery keeps only the first item of a list): they are set once CTest
# has read the discovered tests. Call in the folder that made the program.
function(qel_test_locks name)
    string(JOIN ";" locks ${ARGN})
    file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/${name}_locks.cmake
         "foreach(test IN LISTS ${name}_TESTS)\n"
         "    set_tests_properties(\${test} PROPERTIES RESOURCE_LOCK \"${locks}\")\n"
         "endforeach()\n")
    set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${CMAKE_CURRENT_BINARY_DIR}/${name}_locks.cmake)
endfunction()

# Tests that read the screen or move the real pointer run alone: any other test's window may cover theirs.
# Their label, "screen", lets scripts/test run them in a phase of their own, after the parallel tests,
# instead of draining the parallel run for each of them. Set once CTest has read the discovered tests,
# as with the locks above.
function(qel_test_serial name)
    file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/${name}_serial.cmake
         "foreach(test IN LISTS ${name}_TESTS)\n"
         "    set_tests_properties(\${test} PROPERTIES RUN_SERIAL TRUE LABELS screen)\n"
         "endforeach()\n")
    set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${CMAKE_CURRENT_BINARY_DIR}/${name}_serial.cmake)
endfunction()

# A libFuzzer harness of a platform-neutral core (native clang build only, built by scripts/fuzz
# through the "fuzzers" target). It compiles its own instrumented copy of the core's SOURCES; LIBS are
# outside libraries (libpng). Its seed corpus is what the core's tests write into
# $QEL_FUZZ_SEEDS/<name> when that variable is set (see qel_fuzz_seed_program).
function(qel_fuzzer name)
    if(QEL_WINDOWS OR NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
        return()
    endif()
    cmake_parse_arguments(A "" "" "SOURCES;INCLUDES;LIBS" ${ARGN})
    add_executable(${name} EXCLUDE_FROM_ALL ${A_SOURCES})
    target_include_directories(${name} PRIVATE ${A_INCLUDES} ${PROJECT_SOURCE_DIR}/tests/support/fuzzseeds)
    target_compile_options(${name} PRIVATE ${QEL_WARNINGS} -g -O1 -fsanitize=fuzzer,address,undefined
                                           -fno-sanitize-recover=undefined)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
    if(A_LIBS)
        target_link_libraries(${name} PRIVATE ${A_LIBS})
    endif()
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz)
    if(NOT TARGET fuzzers)
        add_custom_target(fuzzers)
    endif()
    add_dependencies(fuzzers ${name})
endfunction()

# A core test program that writes fuzz seeds when QEL_FUZZ_SEEDS is set. scripts/fuzz builds these
# through the "fuzz_seed_programs" target and runs each one listed in fuzz-seed-programs/, without
# building or running the rest of the native suite.
function(qel_fuzz_seed_program name)
    if(QEL_WINDOWS OR NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
        return()
    endif()
    if(NOT TARGET fuzz_seed_programs)
        add_custom_target(fuzz_seed_programs)
    endif()
    add_dependencies(fuzz_seed_programs ${name})
    file(GENERATE OUTPUT ${CMAKE_BINARY_DIR}/fuzz-seed-programs/${name} CONTENT "$<TARGET_FILE:${name}>\n")
endfunction()

# A program that writes fuzz seeds only (gtest, so a seed it cannot write is reported): built with the
# native cores, run by scripts/fuzz and never by CTest, since without a seed folder it checks nothing.
function(qel_fuzz_seed_writer name)
    if(QEL_WINDOWS)
        return()
    endif()
    cmake_parse_arguments(A "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${A_SOURCES})
    target_link_libraries(${name} PRIVATE ${A_LIBS} qel_fuzz_seeds gtest_main)
    qel_apply_common(${name})
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${QEL_TEST_OUTPUT_DIRECTORY})
    target_compile_options(${name} PRIVATE ${QEL_SANITIZERS})
    target_link_options(${name} PRIVATE ${QEL_SANITIZERS})
    qel_fuzz_seed_program(${name})
endfunction()
