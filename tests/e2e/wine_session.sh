#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Uses the Windows program under Wine as a person would, with Windows' own platform plugin, in a real X server
# with a window manager, keyboard only: adds a search, closes with Alt+F4 and reads the saved list from the
# registry; starts again, adds a second search to the list that came back, and closes again; then adds a third
# and ends the Wine session, which must save it as Windows' logging off does. A second start hands over to the
# running copy, or says in a box that it does not answer; a start after the running copy was killed shows the
# window. The engine chosen in the search list's menu is kept in the registry and used at the next start.
# Then the installer: installed silently, the installed program started from the place the Start-menu entry
# names, a search added, installed again over itself, uninstalled silently; the searches stay in the registry,
# and the files, the shortcuts and the entry in the installed programs go.
# With BAZAARLY_SCREENSHOT set to a path, a picture of the screen with the first search added is left there.
# Usage: wine_session.sh BUILD_FOLDER WINEPREFIX INSTALLER
set -euo pipefail

build=$1
installer=$3
[ -f "$installer" ] || { echo "FAIL: no installer $installer (make windows writes it)" >&2; exit 1; }
wine_run=("$(dirname "$0")/../../scripts/wine-run.sh" "$2")
# shellcheck source=tests/e2e/x_session.sh
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

executable=$prefix/BazaarlySearch.exe
start_program() {
    "${wine_run[@]}" "$executable" >>"$work/program.log" 2>&1 &
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

# A second start hands over to the running copy and ends; a start after the running copy was killed, which
# leaves whatever it held behind, shows the window again.
start_program
"${wine_run[@]}" "$executable" >>"$work/program.log" 2>&1 || fail "a second start did not hand over and end"
[ "$(xdotool search --onlyvisible --name "^$title\$" | wc -l)" -eq 1 ] || fail "a second start opened a window"
# A running copy that does not answer (stopped here) is named in a box, since a windowed program has no console.
kill -STOP "$program"
"${wine_run[@]}" "$executable" >>"$work/program.log" 2>&1 &
second=$!
pids+=("$second")
wait_for xdotool search --onlyvisible --name '^Application Error$'
xdotool windowactivate --sync "$(xdotool search --onlyvisible --name '^Application Error$' | head -n 1)"
keys Return
wait "$second" && fail "a second start beside a copy that does not answer ended as if it had handed over"
kill -CONT "$program"
wineserver --kill
wait_for bash -c "! kill -0 $program"
start_program
close_through_window_manager
end_wine_session
echo "a second start handed over, or said in a box that the running copy does not answer; a start after a killed one showed the window"

# The engine chosen under Search With, in the search list's right-click menu, is kept in the registry beside the
# list, and the next start opens the queries on that engine's result page.
start_program
xdotool mousemove --window "$window" 260 520 click 3 # the search list, below its queries
keys Up Right Down Return                            # Search With, then Bing
close_through_window_manager
end_wine_session
engine=$("${wine_run[@]}" reg query "$key" /v SearchEngine | tr -d '\r' | sed -n 's/^ *SearchEngine *REG_SZ *//p')
end_wine_session
[ "$engine" = Bing ] || fail "stored engine: '$engine', expected: Bing"
start_program
tabs 2 && keys space # the search list, then Open Selected: its first query
wait_for grep -Fxq 'https://www.bing.com/search?q=road%20bike%20site:boston.bazaarly.org' "$opened"
close_through_window_manager
end_wine_session
expect_stored 'road bike site:boston.bazaarly.org|desk site:boston.bazaarly.org|lamp site:boston.bazaarly.org|'
echo "registry: SearchEngine = $engine, and the next start opened that engine's result page"

# The installer, for the current user: the program in the user's own programs folder, its shortcut in the
# user's Start menu, its entry among the installed programs in the user's part of the registry.
windows_folder() { "${wine_run[@]}" cmd /c echo "%$1%" | tr -d '\r'; }
installed="$(windows_folder LOCALAPPDATA)\Programs\BazaarlySearch"
installed_folder=$(winepath --unix "$installed")
start_menu=$(winepath --unix "$(windows_folder APPDATA)\Microsoft\Windows\Start Menu\Programs")
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\BazaarlySearch'
end_wine_session
registered() { "${wine_run[@]}" reg query "$uninstall_key" /v "$1" | tr -d '\r' | sed -n "s/^ *$1 *REG_SZ *//p"; }
"${wine_run[@]}" "$installer" /S || fail "the silent install failed"
end_wine_session
[ -f "$installed_folder/BazaarlySearch.exe" ] || fail "nothing installed in $installed"
for file in list.txt HAND-M.CUR LICENSE.txt notices/Qt/LGPL-3.0-only.txt Uninstall.exe; do
    [ -f "$installed_folder/$file" ] || fail "the installer did not install $file"
done
[ -f "$start_menu/BazaarlySearch/BazaarlySearch.lnk" ] || fail "no Start-menu shortcut"
[ "$(registered DisplayName)" = BazaarlySearch ] || fail "installed programs: name $(registered DisplayName)"
[ "$(registered Publisher)" = Quillmark ] || fail "installed programs: publisher $(registered Publisher)"
[ -n "$(registered DisplayVersion)" ] || fail "installed programs: no version"
[ "$(registered DisplayIcon)" = "$installed\BazaarlySearch.exe" ] || fail "installed programs: icon $(registered DisplayIcon)"
[ "$(registered UninstallString)" = "\"$installed\Uninstall.exe\"" ] || fail "installed programs: no uninstaller"
end_wine_session
echo "installed: $(cd "$installed_folder" && find . -type f | wc -l) files, a Start-menu shortcut, an entry in the installed programs"

cp "$prefix/list.txt" "$installed_folder/list.txt"
executable=$installed_folder/BazaarlySearch.exe
start_program
add_search 'chair'
close_through_window_manager
end_wine_session
with_chair='road bike site:boston.bazaarly.org|desk site:boston.bazaarly.org|lamp site:boston.bazaarly.org|chair site:boston.bazaarly.org|'
expect_stored "$with_chair"

# Installed again over itself, as a newer version would be, then uninstalled: the searches stay.
"${wine_run[@]}" "$installer" /S || fail "installing over the installed program failed"
end_wine_session
[ -f "$installed_folder/BazaarlySearch.exe" ] || fail "installing over the installed program left no program"
expect_stored "$with_chair"
"${wine_run[@]}" "$installed_folder/Uninstall.exe" /S || fail "the silent uninstall failed"
end_wine_session
wait_for bash -c "[ ! -e '$installed_folder/BazaarlySearch.exe' ]" # the uninstaller runs on from a copy of itself
end_wine_session
left=$(find "$installed_folder" "$start_menu/BazaarlySearch" 2>/dev/null || true)
[ -z "$left" ] || fail "the uninstaller left: $left"
"${wine_run[@]}" reg query "$uninstall_key" >/dev/null 2>&1 && fail "the entry in the installed programs is left"
expect_stored "$with_chair"
echo "uninstalled: no files, shortcuts or entry left; the searches kept"

echo "1 passed, 0 failed"
