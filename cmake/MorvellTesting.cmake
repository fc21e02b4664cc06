# Every test is a QtTest program run by CTest on the offscreen platform, with
# a timeout (a modal box that slipped through would otherwise hang forever),
# and no real printer. Test images are made in code; the program folder's
# bitmaps come from the artwork build.

function(morvell_add_test name)
    cmake_parse_arguments(T "" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
    if(NOT T_SOURCES)
        set(T_SOURCES ${name}.cpp)
    endif()
    if(NOT T_TIMEOUT)
        set(T_TIMEOUT 120)
    endif()
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE ${T_LIBS} Qt6::Test morvell_warnings)
    target_compile_definitions(${name} PRIVATE
        MORVELL_ART_DIR="${MORVELL_ART_DIR}")
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES
        TIMEOUT ${T_TIMEOUT}
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;CUPS_SERVER=/nonexistent;QT_LOGGING_RULES=qt.qpa.*=false")
endfunction()

# Each tst_*.cpp in the calling folder becomes one test linked to LIBS.
function(morvell_add_tests_in_folder)
    cmake_parse_arguments(T "" "TIMEOUT" "LIBS" ${ARGN})
    file(GLOB tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tst_*.cpp)
    foreach(src IN LISTS tests)
        get_filename_component(name ${src} NAME_WE)
        if(T_TIMEOUT)
            morvell_add_test(${name} SOURCES ${src} LIBS ${T_LIBS} TIMEOUT ${T_TIMEOUT})
        else()
            morvell_add_test(${name} SOURCES ${src} LIBS ${T_LIBS})
        endif()
    endforeach()
endfunction()

# Tests that run worker threads of ours; CI runs them under ThreadSanitizer.
function(morvell_threaded_tests)
    set_tests_properties(${ARGN} PROPERTIES LABELS threads)
endfunction()
