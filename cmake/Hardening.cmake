# SPDX-License-Identifier: GPL-3.0-or-later
# Optimised builds for Linux are hardened as Debian builds its own packages: checked string and memory
# functions, a stack protector, relocations resolved at start and then made read-only (full RELRO with
# BIND_NOW), and a position-independent executable. The sanitizer builds go without: they check more, and
# fortified functions would hide some of what they find.
if(CMAKE_SYSTEM_NAME STREQUAL "Linux" AND NOT BAZAARLY_SANITIZE)
    include(CheckPIESupported)
    check_pie_supported()
    set(CMAKE_POSITION_INDEPENDENT_CODE ON)
    set(optimised "$<CONFIG:Release,RelWithDebInfo,MinSizeRel>")
    # A compiler that fortifies by default at another level would warn about the redefinition.
    target_compile_options(bazaarly_options INTERFACE
                           "$<${optimised}:-U_FORTIFY_SOURCE;-D_FORTIFY_SOURCE=2;-fstack-protector-strong>")
    target_link_options(bazaarly_options INTERFACE "$<${optimised}:LINKER:-z,relro,-z,now>")
endif()
