# One strict warning set for every target of ours. CI builds with
# MORVELL_WERROR=ON so a new warning fails the build instead of piling up.
add_library(morvell_warnings INTERFACE)
target_compile_options(morvell_warnings INTERFACE
    -Wall -Wextra -Wpedantic
    -Wshadow -Wnon-virtual-dtor -Wold-style-cast -Wcast-align
    -Woverloaded-virtual -Wconversion -Wsign-conversion
    -Wnull-dereference -Wdouble-promotion -Wformat=2 -Wimplicit-fallthrough
    $<$<BOOL:${MORVELL_WERROR}>:-Werror>)
# Qt's headers are not ours to fix: include them as system headers.
set(CMAKE_INCLUDE_DIRECTORIES_BEFORE OFF)
