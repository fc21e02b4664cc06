cmake_minimum_required(VERSION 3.25)
# Fails when a file includes a header of a layer above its own. All layers
# share one include root, so the compiler alone would let a header-only
# upward include through. Run as: cmake -DSOURCE_DIR=<src> -P CheckIncludes.cmake
#
# Each layer folder and the folders it may include from (its own always).
set(layers
    "base:"
    "platform/core:base"
    "imaging/core:base,platform/core"
    "rules:base,platform/core,imaging/core"
    "batch/engine:base,platform/core,imaging/core,rules"
    "batch/cli:base,platform/core,imaging/core,rules,batch/engine"
    "platform:base,platform/core"
    "imaging/widgets:base,platform/core,platform,imaging/core"
    "imaging/print:base,platform/core,platform,imaging/core,imaging/widgets")
# The window folders reach each other by class name and may use every layer.

if(NOT SOURCE_DIR)
    message(FATAL_ERROR "SOURCE_DIR is not set")
endif()

set(failures 0)
foreach(entry IN LISTS layers)
    string(REPLACE ":" ";" parts "${entry}")
    list(GET parts 0 layer)
    string(REGEX REPLACE "^[^:]*:" "" allowed "${entry}")
    string(REPLACE "," ";" allowed "${allowed}")
    list(APPEND allowed ${layer})
    file(GLOB files "${SOURCE_DIR}/${layer}/*.h" "${SOURCE_DIR}/${layer}/*.cpp")
    foreach(file IN LISTS files)
        file(STRINGS "${file}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
        foreach(line IN LISTS includes)
            string(REGEX REPLACE "^[^\"]*\"([^\"]*)\".*$" "\\1" header "${line}")
            get_filename_component(folder "${header}" DIRECTORY)
            if(folder STREQUAL "" OR folder IN_LIST allowed)
                continue()
            endif()
            file(RELATIVE_PATH shown "${SOURCE_DIR}" "${file}")
            list(JOIN allowed ", " permitted)
            message(SEND_ERROR "${shown} includes \"${header}\": ${layer} may include only ${permitted}")
            math(EXPR failures "${failures} + 1")
        endforeach()
    endforeach()
endforeach()
if(failures GREATER 0)
    message(FATAL_ERROR "${failures} upward include(s)")
endif()
message(STATUS "no upward includes")
