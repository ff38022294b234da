#!/usr/bin/env bash
# Uses the installed program as a person would, in a real X server with a window manager, keyboard only:
# filter, pick a location, add searches, open them, edit the list, close through the window manager, start
# again and find the list restored, then read the error report of Open Selected on an empty list.
# Everything is checked from outside: the addresses a stand-in browser was asked to open, the stored value
# after each close, and the report's text copied from its box.
# Usage: keyboard_session.sh BUILD_FOLDER
set -euo pipefail

build=$1
source "$(dirname "$0")/x_session.sh"

# The program, installed into a folder of its own, with a small catalogue of our own.
prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null
printf '%s\n' 'http://albany.bazaarly.org/,Albany,New York' 'http://boston.bazaarly.org/,Boston,Massachusetts' \
    'http://portland.bazaarly.org/,Portland,Oregon' >"$prefix/lib/bazaarly-search/list.txt"

# A home and settings of our own, and a browser that only writes down what it is asked to open.
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config
mkdir -p "$HOME"
stand_in_browser
stored=$XDG_CONFIG_HOME/Quillmark/Bazaarly\ Lookup\ Across\ Many\ Towns\ Utility.conf

start_screen
export QT_QPA_PLATFORM=xcb

start_program() {
    "$prefix/bin/bazaarly-search" >>"$work/program.log" 2>&1 &
    program=$!
    pids+=("$program")
    activate_window
}
# The addresses opened, less the maker's home page, which about one start in a hundred opens besides.
addresses() { grep -v 'quillmark' "$opened" || true; }
expect_addresses() {
    local count=$1
    shift
    wait_for bash -c "[ \$(grep -vc quillmark '$opened') -ge $count ]"
    diff <(printf '%s\n' "$@") <(addresses) || fail "the browser was asked to open other addresses"
}
expect_stored() {
    grep -Fxq "Searches=$1" "$stored" || fail "stored: $(grep Searches "$stored"), expected: Searches=$1"
}

engine='https://www.google.com/#q='
start_program
# Focus starts in the filter box.
type_text 'bo'
tabs 7                                # to the location list
select_first                          # Boston, the only location left
tabs 1 && type_text 'road bike' && tabs 1 && keys space
type_text 'desk' && tabs 1 && keys space
tabs 3 && select_first               # Add Search, the filter box, then the search list: its first query
tabs 1 && keys space                  # Open Selected
expect_addresses 1 "${engine}road%20bike%20site:boston.bazaarly.org"
tabs 1 && keys space                  # Open All
expect_addresses 3 "${engine}road%20bike%20site:boston.bazaarly.org" \
    "${engine}road%20bike%20site:boston.bazaarly.org" "${engine}desk%20site:boston.bazaarly.org"
tabs 2 && keys space                  # past Clear All to Delete Selected: the road bike goes
tabs 1 && keys space                  # Load Example/Sample Searches
keys shift+Tab shift+Tab space        # Clear All
tabs 3 && select_first               # Delete Selected, Load Samples, then the location list
tabs 1 && type_text 'lamp' && tabs 1 && keys space
tabs 2 && keys ctrl+a && type_text 'port'   # Add Search, then the filter box
tabs 7 && select_first               # Portland
tabs 1 && type_text 'chair' && tabs 1 && keys space
close_through_window_manager
expect_stored 'lamp site:boston.bazaarly.org|chair site:portland.bazaarly.org|'

start_program
tabs 3 && keys space                  # the search list, Open Selected, Open All
expect_addresses 5 "${engine}road%20bike%20site:boston.bazaarly.org" \
    "${engine}road%20bike%20site:boston.bazaarly.org" "${engine}desk%20site:boston.bazaarly.org" \
    "${engine}lamp%20site:boston.bazaarly.org" "${engine}chair%20site:portland.bazaarly.org"
tabs 1 && keys space                  # Clear All
keys shift+Tab shift+Tab space        # Open Selected, on the empty list
wait_for xdotool search --onlyvisible --name '^Application Error$'
keys ctrl+c
expected=$(printf '%s\n' 'No item is selected in the list.' \
    'in BazaarlySearch2017/04/05.Form1.PushButton2_Click at line 100' '' \
    'Please email screenshot of this message to support@quillmark.example')
wait_for bash -c "[ \"\$(xclip -o -selection clipboard)\" = '$expected' ]"
keys Return
wait_for bash -c "! xdotool search --onlyvisible --name '^Application Error\$'"
close_through_window_manager
expect_stored ''
[ "$(addresses | wc -l)" -eq 5 ] || fail "the error report opened an address"

echo "1 passed, 0 failed"
