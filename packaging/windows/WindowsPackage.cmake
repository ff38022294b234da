# SPDX-License-Identifier: GPL-3.0-or-later
# What a Windows download carries besides the program: the GPL it comes under, the notices of everything linked
# into the executable (gathered by scripts/windows-notices.sh), and, with `cpack -G NSIS`, an installer for the
# current user that asks for no administrator rights. The target source_archive writes the program's source
# beside the packages, as the GPL asks of whoever hands the executable on.
set(BAZAARLY_WINDOWS_NOTICES "" CACHE PATH "The notices folder that scripts/windows-notices.sh gathers")
# The paths the program's folder holds below itself, to find the longest, which the installer needs room for.
set(installed_names BazaarlySearch.exe HAND-M.CUR LICENSE.txt README.txt list.txt.new Uninstall.exe x/o.cjs)
if(IS_DIRECTORY "${BAZAARLY_WINDOWS_NOTICES}")
    # Each notice ends in .txt, so that Windows opens it with a text editor (COPYING, LICENSE and the
    # attributions' .json would otherwise ask which program to use).
    file(GLOB_RECURSE notices RELATIVE ${BAZAARLY_WINDOWS_NOTICES} ${BAZAARLY_WINDOWS_NOTICES}/*)
    foreach(notice IN LISTS notices)
        get_filename_component(folder "${notice}" DIRECTORY)
        get_filename_component(name "${notice}" NAME)
        if(NOT name MATCHES "\\.[tT][xX][tT]$")
            string(APPEND name .txt)
        endif()
        install(FILES "${BAZAARLY_WINDOWS_NOTICES}/${notice}" DESTINATION "notices/${folder}" RENAME "${name}")
        list(APPEND installed_names "notices/${folder}/${name}")
    endforeach()
elseif(CMAKE_CROSSCOMPILING)
    message(FATAL_ERROR "A Windows package needs the notices of what it links: BAZAARLY_WINDOWS_NOTICES names the "
                        "folder that scripts/windows-notices.sh gathers (`make windows` passes it)")
endif()
file(GLOB_RECURSE shipped_data RELATIVE ${PROJECT_SOURCE_DIR}/data ${PROJECT_SOURCE_DIR}/data/*)
set(CPACK_BAZAARLY_LONGEST_INSTALLED_NAME 0)
foreach(name IN LISTS installed_names shipped_data)
    string(LENGTH "${name}" length)
    if(length GREATER CPACK_BAZAARLY_LONGEST_INSTALLED_NAME)
        set(CPACK_BAZAARLY_LONGEST_INSTALLED_NAME ${length})
    endif()
endforeach()
# A short guide for Windows users, with Windows' line breaks so that any editor shows it as written.
configure_file(windows/README.txt.in ${CMAKE_CURRENT_BINARY_DIR}/windows/README.txt @ONLY NEWLINE_STYLE CRLF)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/windows/README.txt DESTINATION .)
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION . RENAME LICENSE.txt)

# The tracked files as they are in the working tree, so that the archive is the source of what was built.
set(source_archive ${PROJECT_BINARY_DIR}/bazaarly-search-${PROJECT_VERSION}-source.tar.gz)
add_custom_target(source_archive
    COMMAND sh -c "tree=$(git stash create) && git archive --format=tar.gz --prefix=bazaarly-search-${PROJECT_VERSION}/ -o '${source_archive}' \${tree:-HEAD}"
    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
    COMMENT "Writing the source archive ${source_archive}"
    VERBATIM)

# The installer, from a script of our own (NSIS.template.in, which CPack fills in): for the current user, with no
# administrator rights, in the user's own programs folder. Its place, its shortcut and its entry in the installed
# programs keep one name across versions, so that a newer version installs over an older one; the user's searches
# (under Software\Quillmark\Bazaarly Lookup Across Many Towns Utility), an edited catalogue and the skin stay.
set(CPACK_PACKAGE_INSTALL_DIRECTORY BazaarlySearch)
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY BazaarlySearch)
set(CPACK_NSIS_PACKAGE_NAME BazaarlySearch)
set(CPACK_NSIS_MUI_ICON ${BAZAARLY_PICTURES}/bazaarly.ico)
set(CPACK_NSIS_MUI_UNIICON ${BAZAARLY_PICTURES}/bazaarly.ico)
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_BAZAARLY_COPYRIGHT "Copyright (C) 2026 Quillmark. Free software under the GNU GPL, version 3 or later.")
if(BAZAARLY_HOME_PAGE MATCHES "^https?://")
    set(CPACK_BAZAARLY_HOME_PAGE "${BAZAARLY_HOME_PAGE}")
endif()
list(PREPEND CPACK_MODULE_PATH ${CMAKE_CURRENT_LIST_DIR})
