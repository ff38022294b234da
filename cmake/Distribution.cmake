# SPDX-License-Identifier: GPL-3.0-or-later
# What whoever distributes the program sets when building it: its home page, the address its error reports
# ask users to write to, and the package's maintainer. Without them the program opens the page shipped beside
# it, and its reports ask the user to write to whoever gave them the program, since no address of ours would
# answer.
set(BAZAARLY_HOME_PAGE "" CACHE STRING "Address the program opens now and then; empty for the page shipped beside it")
set(BAZAARLY_SUPPORT_ADDRESS "" CACHE STRING "E-mail address that the error reports ask users to write to")
set(BAZAARLY_MAINTAINER "" CACHE STRING "The package's maintainer, as 'Name <address>'; empty for Quillmark at the support address")

if(BAZAARLY_SUPPORT_ADDRESS)
    set(BAZAARLY_SUPPORT_CONTACT "${BAZAARLY_SUPPORT_ADDRESS}")
else()
    set(BAZAARLY_SUPPORT_CONTACT "whoever gave you this program")
endif()

if(BAZAARLY_MAINTAINER)
    set(BAZAARLY_PACKAGE_MAINTAINER "${BAZAARLY_MAINTAINER}")
elseif(BAZAARLY_SUPPORT_ADDRESS)
    set(BAZAARLY_PACKAGE_MAINTAINER "Quillmark <${BAZAARLY_SUPPORT_ADDRESS}>")
else()
    # A package needs a maintainer; this one says plainly that nobody was named.
    set(BAZAARLY_PACKAGE_MAINTAINER "Unnamed Distributor <set-BAZAARLY_MAINTAINER@distributor.example>")
    message(STATUS "BAZAARLY_SUPPORT_ADDRESS and BAZAARLY_MAINTAINER are not set: packages built here name no maintainer")
endif()

# The text as a C string literal for the configured header.
function(bazaarly_c_string_literal variable text)
    string(REPLACE "\\" "\\\\" text "${text}")
    string(REPLACE "\"" "\\\"" text "${text}")
    set(${variable} "\"${text}\"" PARENT_SCOPE)
endfunction()
bazaarly_c_string_literal(BAZAARLY_HOME_PAGE_LITERAL "${BAZAARLY_HOME_PAGE}")
bazaarly_c_string_literal(BAZAARLY_SUPPORT_CONTACT_LITERAL "${BAZAARLY_SUPPORT_CONTACT}")
