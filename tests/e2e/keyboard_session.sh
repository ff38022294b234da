#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Uses the installed program as a person would, in a real X server with a window manager, keyboard only but for
# one double-click: add a search for the location selected from the start, filter and add for the first match,
# pick a query, open it and all, edit the list, add one search for two towns at once, close through the window
# manager, start again and open the restored list's first query straight away, clear the list and take that back
# with Ctrl+Z, close and start again to find the list whole and open a query with a double-click, then read the
# error report of Open Selected on an empty list. Buttons are pressed with Space and with Return.
# On the way it checks that the window's class is the one the menu entry names, so the desktop matches the two.
# Everything is checked from outside: the addresses a stand-in browser was asked to open, the stored value
# after each close, and the report's text copied from its box.
# Usage: keyboard_session.sh BUILD_FOLDER HOME_PAGE SUPPORT_CONTACT SETTINGS_LOCATION (HOME_PAGE and
# SUPPORT_CONTACT as the build configured them, an empty HOME_PAGE standing for the page installed beside the
# program; SETTINGS_LOCATION the build's tool that says where the program keeps the user's settings)
set -euo pipefail

build=$1
support_contact=$3
settings_location=$4
# shellcheck source=tests/e2e/x_session.sh
source "$(dirname "$0")/x_session.sh"

install_program "$build" "$settings_location" 'http://albany.bazaarly.org/,Albany,New York' \
    'http://boston.bazaarly.org/,Boston,Massachusetts' 'http://portland.bazaarly.org/,Portland,Oregon'
home_page=${2:-file://$prefix/lib/bazaarly-search/homepage/index.html}
[ -n "$2" ] || [ -f "$prefix/lib/bazaarly-search/homepage/index.html" ] || fail "the home page was not installed"

start_screen
export QT_QPA_PLATFORM=xcb

# The addresses opened, less the home page, which about one start in a hundred opens besides.
addresses() { grep -vxF "$home_page" "$opened" || true; }
expect_addresses() {
    local count=$1
    shift
    wait_for bash -c "[ \$(grep -vcxF '$home_page' '$opened') -ge $count ]"
    diff <(printf '%s\n' "$@") <(addresses) || fail "the browser was asked to open other addresses"
}
expect_stored() {
    grep -Fxq "Searches=$1" "$stored" || fail "stored: $(grep Searches "$stored"), expected: Searches=$1"
}

engine='https://www.google.com/search?q='
albany="site:albany.bazaarly.org"
boston="site:boston.bazaarly.org"
portland="site:portland.bazaarly.org"
start_installed_program
# Desktops match a window to its menu entry by the class in WM_CLASS, its second string.
entry_class=$(sed -n 's/^StartupWMClass=//p' "$prefix/share/applications/bazaarly-search.desktop")
xprop -id "$window" WM_CLASS | grep -Fq ", \"$entry_class\"" ||
    fail "the window's $(xprop -id "$window" WM_CLASS) does not end in the menu entry's \"$entry_class\""
# Focus starts in the filter box. With no location picked, the first one is selected.
tabs 8 && type_text 'sofa' && tabs 1 && keys Return   # the search box, then Add Search by Return
tabs 2 && type_text 'bo'              # Add Search, then the filter box: Boston is the first match
tabs 8 && type_text 'road bike' && tabs 1 && keys space
type_text 'desk' && tabs 1 && keys space
tabs 3 && keys Down                   # Add Search, the filter box, the search list: from sofa to road bike
tabs 1 && keys space                  # Open Selected
expect_addresses 1 "${engine}road%20bike%20${boston}"
tabs 1 && keys Return                 # Open All
expect_addresses 4 "${engine}road%20bike%20${boston}" \
    "${engine}sofa%20${albany}" "${engine}road%20bike%20${boston}" "${engine}desk%20${boston}"
tabs 2 && keys space                  # past Clear All to Delete Selected: the road bike goes
tabs 1 && keys space                  # Load Example/Sample Searches
keys shift+Tab shift+Tab space        # Clear All
tabs 3                                # Delete Selected, Load Samples, then the location list: Boston
tabs 1 && type_text 'lamp' && tabs 1 && keys space
tabs 2 && keys ctrl+a && type_text 'port'   # Add Search, then the filter box
tabs 8 && type_text 'chair' && tabs 1 && keys space   # Portland, the first match
tabs 2 && keys BackSpace              # Add Search, then the filter box emptied: every town, Albany selected
keys shift+Tab shift+Tab shift+Tab shift+Down   # the location list: Albany and Boston
tabs 1 && type_text 'bike' && tabs 1 && keys space   # one Add Search, a query for each town
close_through_window_manager
whole_list="lamp ${boston}|chair ${portland}|bike ${albany}|bike ${boston}|"
expect_stored "$whole_list"

start_installed_program
"$prefix/bin/bazaarly-search" >>"$work/program.log" 2>&1 || fail "a second start did not hand over and end"
[ "$(xdotool search --onlyvisible --name "^$title\$" | wc -l)" -eq 1 ] || fail "a second start opened a window"
xdotool windowactivate --sync "$window"
tabs 2 && keys space                  # the search list, then Open Selected: its first query
tabs 1 && keys space                  # Open All
session_one=("${engine}road%20bike%20${boston}" "${engine}sofa%20${albany}" "${engine}road%20bike%20${boston}"
    "${engine}desk%20${boston}")
whole=("${engine}lamp%20${boston}" "${engine}chair%20${portland}" "${engine}bike%20${albany}"
    "${engine}bike%20${boston}")
expect_addresses 9 "${session_one[@]}" "${engine}lamp%20${boston}" "${whole[@]}"
tabs 1 && keys space                  # Clear All
keys ctrl+z                           # takes the Clear All back
close_through_window_manager
expect_stored "$whole_list"

start_installed_program
xdotool mousemove --window "$window" 100 395 click --repeat 2 --delay 80 1   # a double-click opens the second query
expect_addresses 10 "${session_one[@]}" "${engine}lamp%20${boston}" "${whole[@]}" "${engine}chair%20${portland}"
tabs 2 && keys space                  # from the search list past Open Selected to Open All: the list whole
expect_addresses 14 "${session_one[@]}" "${engine}lamp%20${boston}" "${whole[@]}" "${engine}chair%20${portland}" \
    "${whole[@]}"
tabs 1 && keys space                  # Clear All
keys shift+Tab shift+Tab space        # Open Selected, on the empty list
wait_for xdotool search --onlyvisible --name '^Application Error$'
keys ctrl+c
expected=$(printf '%s\n' 'The search list is empty, so there is no search to open. Add a search with Add Search (or press Load Example/Sample Searches), then press Open Selected again.' \
    'in BazaarlySearch2017/04/05.Form1.PushButton2_Click at line 100' '' \
    "Please email screenshot of this message to $support_contact")
wait_for bash -c "[ \"\$(xclip -o -selection clipboard)\" = '$expected' ]"
keys Return
wait_for bash -c "! xdotool search --onlyvisible --name '^Application Error\$'"
close_through_window_manager
expect_stored ''
[ "$(addresses | wc -l)" -eq 14 ] || fail "the error report opened an address"

echo "1 passed, 0 failed"
