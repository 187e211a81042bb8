# vael_add_test(<name> SOURCES <files...> LIBS <targets...> LABEL unit|integration|e2e|gui
#               [FIXTURE http_servers] [LOCK <resource>])
# Builds one GoogleTest program and registers each of its tests with ctest as its own process,
# so process-wide state (the command id counter, the framework's singletons) starts fresh.
# FIXTURE http_servers runs the tests with nginx and the fault server up (tests/http).
# LOCK runs the tests one at a time with every other test that locks the same resource, for
# tests that share something system-wide, such as a fixed shared-memory name (not for gui
# tests, which hold the X server lock).
# Every test but the gui ones runs on the headless driver, whether or not a display is there.
# (gtest_discover_tests passes one value per property, so the driver goes through
# ENVIRONMENT_MODIFICATION and the fixture's variable through ENVIRONMENT.)
function(vael_add_test name)
    cmake_parse_arguments(ARG "" "LABEL;FIXTURE;LOCK" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} vael_test_support GTest::gmock)
    set(test_properties)
    if(ARG_LABEL STREQUAL "gui")
        # One at a time: each starts an X server, and two at once may pick the same display.
        list(APPEND test_properties RESOURCE_LOCK xvfb)
    else()
        list(APPEND test_properties ENVIRONMENT_MODIFICATION DM_DRIVER=set:headless)
        if(ARG_LOCK)
            list(APPEND test_properties RESOURCE_LOCK ${ARG_LOCK})
        endif()
    endif()
    if(ARG_FIXTURE STREQUAL "http_servers")
        list(APPEND test_properties
            FIXTURES_REQUIRED http_servers
            ENVIRONMENT VAEL_HTTP_SERVERS=${VAEL_HTTP_SERVERS_STATE})
    elseif(ARG_FIXTURE)
        message(FATAL_ERROR "vael_add_test: unknown fixture ${ARG_FIXTURE}")
    endif()
    gtest_discover_tests(${name}
        PROPERTIES LABELS "${ARG_LABEL}" ${test_properties}
        DISCOVERY_TIMEOUT 60)
endfunction()

# Tests that show web pages on screen load the driver's WebKit module with the program, not
# when the first page is made as the launcher does: the leak checker of the sanitizer builds
# cannot walk the thread-local storage of libraries loaded later and crashes at exit.
function(vael_load_web_views_at_start target)
    if(TARGET vael-webkit-view)
        target_link_libraries(${target} PRIVATE vael-webkit-view)
    endif()
endfunction()
