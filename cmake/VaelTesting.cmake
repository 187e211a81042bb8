# vael_add_test(<name> SOURCES <files...> LIBS <targets...> LABEL unit|integration|e2e|gui)
# Builds one GoogleTest program and registers each of its tests with ctest as its own process,
# so process-wide state (the command id counter, the framework's singletons) starts fresh.
function(vael_add_test name)
    cmake_parse_arguments(ARG "" "LABEL" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} vael_test_support GTest::gmock)
    gtest_discover_tests(${name}
        PROPERTIES LABELS "${ARG_LABEL}"
        DISCOVERY_TIMEOUT 60)
endfunction()
