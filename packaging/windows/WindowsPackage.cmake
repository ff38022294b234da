# SPDX-License-Identifier: GPL-3.0-or-later
# What a Windows download carries besides the program: the GPL it comes under, the notices of everything linked
# into the executable (gathered by scripts/windows-notices.sh), and, with `cpack -G NSIS`, an installer for the
# current user that asks for no administrator rights. The target source_archive writes the program's source
# beside the packages, as the GPL asks of whoever hands the executable on.
set(BAZAARLY_WINDOWS_NOTICES "" CACHE PATH "The notices folder that scripts/windows-notices.sh gathers")
if(IS_DIRECTORY "${BAZAARLY_WINDOWS_NOTICES}")
    install(DIRECTORY ${BAZAARLY_WINDOWS_NOTICES}/ DESTINATION notices)
elseif(CMAKE_CROSSCOMPILING)
    message(FATAL_ERROR "A Windows package needs the notices of what it links: BAZAARLY_WINDOWS_NOTICES names the "
                        "folder that scripts/windows-notices.sh gathers (`make windows` passes it)")
endif()
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION . RENAME LICENSE.txt)

# The tracked files as they are in the working tree, so that the archive is the source of what was built.
set(source_archive ${PROJECT_BINARY_DIR}/bazaarly-search-${PROJECT_VERSION}-source.tar.gz)
add_custom_target(source_archive
    COMMAND sh -c "tree=$(git stash create) && git archive --format=tar.gz --prefix=bazaarly-search-${PROJECT_VERSION}/ -o '${source_archive}' \${tree:-HEAD}"
    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
    COMMENT "Writing the source archive ${source_archive}"
    VERBATIM)

# The installer. Its place, its Start-menu folder and its entry in the installed programs keep one name across
# versions, so that a newer version installs over an older one, and its uninstaller leaves the user's searches
# (under Software\Quillmark\Bazaarly Lookup Across Many Towns Utility) where they are.
set(CPACK_PACKAGE_INSTALL_DIRECTORY BazaarlySearch)
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY BazaarlySearch)
set(CPACK_NSIS_PACKAGE_NAME BazaarlySearch)
set(CPACK_NSIS_DISPLAY_NAME BazaarlySearch)
set(CPACK_NSIS_INSTALL_ROOT "$LOCALAPPDATA\\\\Programs")
set(CPACK_NSIS_EXECUTABLES_DIRECTORY .)
set(CPACK_PACKAGE_EXECUTABLES BazaarlySearch BazaarlySearch)
set(CPACK_NSIS_INSTALLED_ICON_NAME BazaarlySearch.exe)
set(CPACK_NSIS_MUI_ICON ${BAZAARLY_PICTURES}/bazaarly.ico)
set(CPACK_NSIS_MUI_UNIICON ${BAZAARLY_PICTURES}/bazaarly.ico)
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
set(CPACK_NSIS_MANIFEST_DPI_AWARE ON)
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
if(BAZAARLY_HOME_PAGE MATCHES "^https?://")
    set(CPACK_NSIS_URL_INFO_ABOUT "${BAZAARLY_HOME_PAGE}")
endif()
if(BAZAARLY_SUPPORT_ADDRESS)
    set(CPACK_NSIS_CONTACT "${BAZAARLY_SUPPORT_ADDRESS}")
endif()

# CMake's installer script installs for all users when it can, into the registry's machine-wide part. Ours is
# that script made per-user: it asks for no elevation, keeps the shell's folders and the registry to the current
# user, and installs under the user's own programs folder. The installer is a 64-bit program like the one it
# installs (NSIS makes 32-bit ones unless told), so it runs wherever the program does, Wine without its 32-bit
# half included.
set(template ${CMAKE_ROOT}/Modules/Internal/CPack/NSIS.template.in)
file(READ ${template} script)
foreach(change
        "RequestExecutionLevel admin=>RequestExecutionLevel user"
        "SetShellVarContext all=>SetShellVarContext current"
        "$DOCUMENTS\\@CPACK_PACKAGE_INSTALL_DIRECTORY@=>@CPACK_NSIS_INSTALL_ROOT@\\@CPACK_PACKAGE_INSTALL_DIRECTORY@"
        "HKLM \"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall=>SHCTX \"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall")
    string(REPLACE "=>" ";" change "${change}")
    list(GET change 0 from)
    list(GET change 1 to)
    string(FIND "${script}" "${from}" found)
    if(found EQUAL -1)
        message(FATAL_ERROR "${template} no longer holds `${from}`; the per-user installer needs a look")
    endif()
    string(REPLACE "${from}" "${to}" script "${script}")
endforeach()
string(FIND "${script}" "\n" first_line_end) # after the first line, which begins with a byte-order mark
string(SUBSTRING "${script}" 0 ${first_line_end} first_line)
string(SUBSTRING "${script}" ${first_line_end} -1 rest)
file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/nsis/NSIS.template.in "${first_line}\nTarget amd64-unicode${rest}")
list(PREPEND CPACK_MODULE_PATH ${CMAKE_CURRENT_BINARY_DIR}/nsis)
