#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a Windows program of ours under Wine: wine-run.sh WINEPREFIX PROGRAM [ARGUMENTS...].
# The prefix is the build's own, made on first use, as Windows 10, with Arial (the font the window asks for) drawn
# by Liberation Sans, which has the same widths, as Windows would draw it in Arial.
set -euo pipefail
WINEPREFIX=$(realpath -m "$1") # Wine takes only an absolute path
export WINEPREFIX
shift
export WINEDEBUG=${WINEDEBUG:--all}
# No offer to install .NET or the HTML engine, and no menu entries of the desktop's made for what an installer
# puts into the Start menu.
export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="

mkdir -p "$WINEPREFIX"
(
    flock 9
    if [ ! -f "$WINEPREFIX/.bazaarly-ready" ]; then
        # Without a display the new prefix is made headless, which is all a prefix needs.
        DISPLAY='' wine wineboot --init >/dev/null 2>&1
        wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v Arial /d 'Liberation Sans' /f >/dev/null
        wineserver --wait
        touch "$WINEPREFIX/.bazaarly-ready"
    fi
    # Wine stands in for Windows 10, the oldest Windows the program runs on (a new prefix says Windows 7), with a
    # web page opened by the browser as on Windows (a new prefix has no program for .html, so the home page would
    # fail to open).
    if [ ! -f "$WINEPREFIX/.bazaarly-windows-10" ]; then
        DISPLAY='' wine winecfg -v win10 >/dev/null 2>&1
        wine reg add 'HKCR\.html' /ve /d htmlfile /f >/dev/null
        wineserver --wait
        touch "$WINEPREFIX/.bazaarly-windows-10"
    fi
) 9>"$WINEPREFIX.lock"

# Wine hides variables that begin with QT_ from the program but passes WINEQT_x on as QT_x.
while IFS='=' read -r name _; do
    [[ $name == QT_* ]] && export "WINE$name=${!name}"
done < <(env)
# QtTest writes to the debugger, not to a stdout that is no console, unless told to use the standard streams.
export WINEQT_FORCE_STDERR_LOGGING=1
# Qt's headless platform on Windows reads fonts from a folder of its own; give it Liberation, as on Linux, so the
# tests measure text in the faces the window asks for (through Wine's Z: drive, which is the root folder).
fonts=/usr/share/fonts/truetype/liberation
[ -d "$fonts" ] && export WINEQT_QPA_FONTDIR="Z:$fonts"
exec wine "$@"
