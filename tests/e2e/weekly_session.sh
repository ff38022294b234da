#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The weekly errand, on the installed program in a real X server: remember three towns of three states as a
# group from the location list's menu, close and start again, then with the mouse alone but for the typing pick
# the group from the menu and add a search for all its towns, counting the clicks; Clear All, close, start again
# and bring the cleared searches back from the search list's menu. Checked from outside: the stored values after
# each close and the number of clicks the errand took.
# Usage: weekly_session.sh BUILD_FOLDER SETTINGS_LOCATION (the build's tool that says where the program keeps the
# user's settings)
set -euo pipefail

build=$1
settings_location=$2
# shellcheck source=tests/e2e/x_session.sh
source "$(dirname "$0")/x_session.sh"

install_program "$build" "$settings_location" 'http://albany.bazaarly.org/,Albany,New York' \
    'http://boston.bazaarly.org/,Boston,Massachusetts' 'http://columbus.bazaarly.org/,Columbus,Ohio' \
    'http://dayton.bazaarly.org/,Dayton,Ohio' 'http://portland.bazaarly.org/,Portland,Oregon'
start_screen
export QT_QPA_PLATFORM=xcb

# Waits until the program shows that many windows: the main one, and each menu or dialog open over it.
wait_for_windows() { wait_for bash -c "[ \$(xdotool search --onlyvisible --pid $program | wc -l) -eq $1 ]"; }
# The window shown last that is not the main one: the menu or submenu just opened.
newest_popup() { xdotool search --onlyvisible --pid "$program" | grep -vx "$window" | sort -n | tail -n 1; }
expect_stored() {
    grep -Fxq "$1=$2" "$stored" || fail "stored: $(grep "^$1=" "$stored" || true), expected: $1=$2"
}

# Each click is counted.
clicks=0
click_in() { # WINDOW X Y [BUTTON], the point inside the window
    xdotool mousemove --sync --window "$1" "$2" "$3" click "${4:-1}"
    clicks=$((clicks + 1))
}
# Clicks the first entry of the menu or submenu shown last.
click_first_entry() { click_in "$(newest_popup)" 30 12; }

start_installed_program
# From the keyboard: Albany, then Columbus and Portland too, remembered as "Weekly".
tabs 7 && keys ctrl+Down ctrl+Down ctrl+space ctrl+Down ctrl+Down ctrl+space
keys Menu && wait_for_windows 2
keys Down Return                      # Remember These Towns..., the first entry while no group is remembered
wait_for xdotool search --onlyvisible --name '^Remember These Towns$'
type_text 'Weekly' && keys Return
wait_for_windows 1
expect_stored TownGroups 'Weekly|albany.bazaarly.org|columbus.bazaarly.org|portland.bazaarly.org||'
close_through_window_manager

start_installed_program
type_text 'bos'                       # a filter that hides the group's towns: choosing the group empties it
# The errand by mouse: right-click the location list, Select Towns, the group, type, Add Search.
click_in "$window" 100 97 3 && wait_for_windows 2
click_first_entry && wait_for_windows 3
click_first_entry && wait_for_windows 1
type_text 'road bike'
click_in "$window" 268 325           # Add Search
week="road bike site:albany.bazaarly.org|road bike site:columbus.bazaarly.org|road bike site:portland.bazaarly.org|"
wait_for grep -Fxq "Searches=$week" "$stored"
[ "$clicks" -le 5 ] || fail "the weekly errand took $clicks clicks"
echo "the weekly errand took $clicks clicks and the typing of the search text"
tabs 6 && keys space                  # from the search box, past Add Search and the filter, to Clear All
close_through_window_manager
expect_stored Searches ''

start_installed_program
tabs 1 && keys Menu && wait_for_windows 2   # the search list's menu
keys Up Up Return                     # Bring Back Cleared Searches, above Search With
wait_for_windows 1
close_through_window_manager
expect_stored Searches "$week"

echo "1 passed, 0 failed"
