# SPDX-License-Identifier: GPL-3.0-or-later
# The include rule between the folders of src/ (docs/architecture.md): a file includes headers of its own folder
# and of the folders on the levels below its own, never of a folder on its own level or above.
#   cmake -DSOURCE=<the src folder> -P include_rule.cmake
# Names every file and include that breaks the rule, and every file in a folder that the levels do not name.

# The levels, top first. The folders on one level do not include one another; "." is src/ itself (main.cpp).
set(levels
    "."
    "ui"
    "catalogue searches"
    "app"
    "platform/desktop platform/controls"
    "platform/look platform/process platform/storage"
    "platform/base")

if(NOT IS_DIRECTORY "${SOURCE}")
    message(FATAL_ERROR "SOURCE must name the src folder; it is \"${SOURCE}\"")
endif()

# The level of each folder, as level_<folder>; every folder's name in `ordered`, top first.
set(ordered)
set(number 0)
foreach(level IN LISTS levels)
    separate_arguments(folders UNIX_COMMAND "${level}")
    foreach(folder IN LISTS folders)
        set(level_${folder} ${number})
        list(APPEND ordered ${folder})
    endforeach()
    math(EXPR number "${number} + 1")
endforeach()

# The folder of a path relative to src/, "." for src/ itself.
function(folder_of path result)
    get_filename_component(folder "${path}" DIRECTORY)
    if(folder STREQUAL "")
        set(folder ".")
    endif()
    set(${result} "${folder}" PARENT_SCOPE)
endfunction()

file(GLOB_RECURSE files RELATIVE "${SOURCE}" "${SOURCE}/*.cpp" "${SOURCE}/*.h" "${SOURCE}/*.in")
list(LENGTH files checked)
if(checked EQUAL 0)
    message(FATAL_ERROR "No source file found under ${SOURCE}")
endif()

set(faults)
foreach(file IN LISTS files)
    folder_of("${file}" folder)
    if(NOT DEFINED level_${folder})
        list(APPEND faults "src/${file}: its folder ${folder} has no place in the include rule's levels")
        continue()
    endif()
    set(allowed)
    foreach(other IN LISTS ordered)
        if(other STREQUAL folder OR level_${other} GREATER level_${folder})
            list(APPEND allowed ${other})
        endif()
    endforeach()
    list(JOIN allowed ", " allowed)

    file(STRINGS "${SOURCE}/${file}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<][^\">]+[\">]")
    foreach(line IN LISTS includes)
        string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[\"<]([^\">]+)[\">].*$" "\\1" name "${line}")
        # Only headers of src/ count, looked for as the compiler does: beside the file first, then from src/. The
        # others are the system's, Qt's or the build's.
        if(EXISTS "${SOURCE}/${folder}/${name}" AND NOT IS_DIRECTORY "${SOURCE}/${folder}/${name}")
            cmake_path(SET header NORMALIZE "${folder}/${name}")
        elseif(EXISTS "${SOURCE}/${name}" AND NOT IS_DIRECTORY "${SOURCE}/${name}")
            set(header "${name}")
        else()
            continue()
        endif()
        folder_of("${header}" included)
        if(included STREQUAL folder)
            continue()
        endif()
        if(NOT DEFINED level_${included} OR NOT level_${included} GREATER level_${folder})
            list(APPEND faults
                 "src/${file} includes \"${name}\", of ${included}: ${folder} may include only ${allowed}")
        endif()
    endforeach()
endforeach()

if(faults)
    foreach(fault IN LISTS faults)
        message(NOTICE "${fault}")
    endforeach()
    list(LENGTH faults count)
    message(FATAL_ERROR "${count} breach(es) of the include rule; its levels are at the top of this script")
endif()
message(STATUS "${checked} files of src/ keep the include rule")
