#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Uses the Windows program under Wine as a person would, with Windows' own platform plugin, in a real X server
# with a window manager, keyboard only: adds a search, closes with Alt+F4 and reads the saved list from the
# registry; starts again, adds a second search to the list that came back, and closes again; then adds a third
# and ends the Wine session, which must save it as Windows' logging off does.
# With BAZAARLY_SCREENSHOT set to a path, a picture of the screen with the first search added is left there.
# Usage: wine_session.sh BUILD_FOLDER WINEPREFIX
set -euo pipefail

build=$1
wine_run=("$(dirname "$0")/../../scripts/wine-run.sh" "$2")
source "$(dirname "$0")/x_session.sh"
export WINEPREFIX=$2 WINEDEBUG=-all
key='HKCU\Software\Quillmark\Bazaarly Lookup Across Many Towns Utility'

# A window cannot start beside a Wine session that began without a screen, so each step has the prefix alone;
# one that does not end in time is ended.
end_wine_session() { timeout 30 wineserver --wait || wineserver --kill; }
trap 'wineserver --kill 2>/dev/null || true; cleanup' EXIT

# The program, installed into a folder of its own, with a small catalogue of our own in Windows' line breaks.
prefix=$work/program
cmake --install "$build" --prefix "$prefix" >/dev/null
printf '%s\r\n' 'http://albany.bazaarly.org/,Albany,New York' 'http://boston.bazaarly.org/,Boston,Massachusetts' \
    'http://portland.bazaarly.org/,Portland,Oregon' >"$prefix/list.txt"

# No searches from an earlier run; the prefix is made here on its first use.
"${wine_run[@]}" reg delete "$key" /f >/dev/null 2>&1 || true
end_wine_session

stand_in_browser # the home page, which about one start in a hundred opens, goes to xdg-open through Wine
start_screen
unset QT_QPA_PLATFORM # Windows' own platform plugin

start_program() {
    "${wine_run[@]}" "$prefix/BazaarlySearch.exe" >>"$work/program.log" 2>&1 &
    program=$!
    pids+=("$program")
    activate_window
    # A window that Wine has only just mapped can miss the first keys; start once it is the active window.
    wait_for bash -c "[ \"\$(xdotool getactivewindow)\" = '$window' ]"
}
# Filters to Boston, which is then selected, and adds a search for the text; the focus starts in the filter box.
add_search() {
    type_text 'bo'
    tabs 8 && type_text "$1" && tabs 1 && keys Return # the search box, then Add Search
}
stored() {
    "${wine_run[@]}" reg query "$key" /v Searches | tr -d '\r' | sed -n 's/^ *Searches *REG_SZ *//p'
}
expect_stored() {
    local value
    value=$(stored) || fail "no Searches value in the registry"
    end_wine_session
    [ "$value" = "$1" ] || fail "stored: $value, expected: $1"
    echo "registry: Searches = $value"
}

start_program
add_search 'road bike'
[ -z "${BAZAARLY_SCREENSHOT:-}" ] || import -window root "$BAZAARLY_SCREENSHOT"
close_through_window_manager
end_wine_session
expect_stored 'road bike site:boston.bazaarly.org|'

start_program
add_search 'desk'
close_through_window_manager
end_wine_session
expect_stored 'road bike site:boston.bazaarly.org|desk site:boston.bazaarly.org|'

start_program
add_search 'lamp'
# As Windows does, Wine ends the program once it has answered the end of the session (bash reports it Killed).
"${wine_run[@]}" wineboot --end-session
wait_for bash -c "! kill -0 $program"
end_wine_session
expect_stored 'road bike site:boston.bazaarly.org|desk site:boston.bazaarly.org|lamp site:boston.bazaarly.org|'

echo "1 passed, 0 failed"
