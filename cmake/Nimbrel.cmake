set(NIMBREL_WARNINGS -Wall -Wextra -Wpedantic -Werror)

# Headers that nearly every file reads, parsed once per build instead of once per file. Every target
# of the project compiles with the same flags, so the first library's and the first test's
# precompiled headers serve all the others (REUSE_FROM); a target with flags of its own (Qt's) makes
# its own.
set(NIMBREL_COMMON_HEADERS <algorithm> <chrono> <cstdint> <functional> <map> <memory> <optional>
    <set> <string> <string_view> <unordered_map> <utility> <variant> <vector> <nlohmann/json.hpp>)
set(NIMBREL_TEST_HEADERS ${NIMBREL_COMMON_HEADERS} <gtest/gtest.h> <gmock/gmock.h>)

# nimbrel_precompiled(TARGET KIND HEADERS...): TARGET reads the KIND's shared precompiled headers,
# made by the first target of that kind.
function(nimbrel_precompiled target kind)
    get_property(owner GLOBAL PROPERTY NIMBREL_PCH_${kind})
    if(owner)
        target_precompile_headers(${target} REUSE_FROM ${owner})
    else()
        target_precompile_headers(${target} PRIVATE ${ARGN})
        set_property(GLOBAL PROPERTY NIMBREL_PCH_${kind} ${target})
    endif()
endfunction()

set(NIMBREL_QT_HEADERS ${NIMBREL_COMMON_HEADERS} <QtCore/QObject> <QtCore/QTimer> <QtGui/QPainter>
    <QtWidgets/QApplication> <QtWidgets/QWidget>)

# nimbrel_library(NAME DIR [FLAT] [QT] PUBLIC_LIBS ...): one static library from every .cpp under
# DIR (only DIR itself with FLAT). A folder without sources is a mistake in this file, not an empty
# library that would hide it. QT libraries compile with Qt's flags and share precompiled headers of
# their own.
function(nimbrel_library name dir)
    cmake_parse_arguments(ARG "FLAT;QT" "" "PUBLIC_LIBS" ${ARGN})
    if(ARG_FLAT)
        file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*.cpp)
    else()
        file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*.cpp)
    endif()
    if(NOT sources)
        message(FATAL_ERROR "${name}: no sources under ${dir}")
    endif()
    add_library(${name} STATIC ${sources})
    set_target_properties(${name} PROPERTIES UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE 8)
    target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR}/src)
    target_compile_options(${name} PRIVATE ${NIMBREL_WARNINGS})
    target_link_libraries(${name} PUBLIC ${ARG_PUBLIC_LIBS})
    if(ARG_QT)
        nimbrel_precompiled(${name} QT ${NIMBREL_QT_HEADERS})
    else()
        nimbrel_precompiled(${name} LIBRARY ${NIMBREL_COMMON_HEADERS})
    endif()
endfunction()

# Embeds every JSON string table of DIR into TARGET, so the program never looks for files at run time.
function(nimbrel_strings target dir)
    file(GLOB tables CONFIGURE_DEPENDS ${dir}/*.json)
    list(SORT tables)
    set(entries "")
    foreach(table ${tables})
        file(READ ${table} content)
        string(APPEND entries "    R\"nimbrel(${content})nimbrel\",\n")
        set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${table})
    endforeach()
    set(out ${CMAKE_BINARY_DIR}/generated/EnglishStrings.cpp)
    file(CONFIGURE OUTPUT ${out} CONTENT
"// Generated from resources/strings/en at configure time.
#include <string_view>
#include <vector>
namespace nimbrel {
const std::vector<std::string_view>& englishStringTables() {
    static const std::vector<std::string_view> tables = {
@entries@    };
    return tables;
}
}  // namespace nimbrel
" @ONLY)
    target_sources(${target} PRIVATE ${out})
endfunction()

# nimbrel_test(NAME DIR [QT] [EXCLUDE SUBDIR...] [RUN_WITH COMMAND...] LIBS...): one GoogleTest
# binary from every .cpp under tests/DIR, leaving out the named subfolders (they make binaries of
# their own). With RUN_WITH the whole binary is one ctest test run through that command (a wrapper
# that provides what the tests need, such as an X server); otherwise each test is a ctest test. QT
# tests link a QT library, share precompiled headers of their own and bring their own main (Qt's
# application object must exist before any test).
function(nimbrel_test name dir)
    cmake_parse_arguments(ARG "QT" "" "EXCLUDE;RUN_WITH;LIBS" ${ARGN})
    file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/${dir}/*.cpp)
    foreach(sub ${ARG_EXCLUDE})
        list(FILTER sources EXCLUDE REGEX "^${CMAKE_SOURCE_DIR}/tests/${dir}/${sub}/")
    endforeach()
    if(NOT sources)
        message(FATAL_ERROR "${name}: no tests under tests/${dir}")
    endif()
    add_executable(${name} ${sources})
    # Test files repeat the same heavy templates (GoogleTest's, the JSON library's), so they are
    # compiled a few at a time as one unit, and without optimisation: the code under test keeps
    # the build's own flags. This more than halves the time the test command spends compiling.
    set_target_properties(${name} PROPERTIES UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE 8)
    target_compile_options(${name} PRIVATE ${NIMBREL_WARNINGS} -O0)
    target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests ${CMAKE_SOURCE_DIR}/src)
    target_compile_definitions(${name} PRIVATE NIMBREL_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock)
    if(NOT ARG_QT)
        target_link_libraries(${name} PRIVATE GTest::gtest_main)
    endif()
    if(ARG_QT)
        nimbrel_precompiled(${name} TEST_QT ${NIMBREL_QT_HEADERS} <gtest/gtest.h> <gmock/gmock.h>)
    else()
        nimbrel_precompiled(${name} TEST ${NIMBREL_TEST_HEADERS})
    endif()
    if(ARG_RUN_WITH)
        add_test(NAME ${name} COMMAND ${ARG_RUN_WITH} $<TARGET_FILE:${name}>)
    else()
        # Plain names: a parameter printed as bytes would make the test names unreadable.
        gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST NO_PRETTY_VALUES)
    endif()
endfunction()
