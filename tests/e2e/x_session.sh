# SPDX-License-Identifier: GPL-3.0-or-later
# shellcheck shell=bash
# What the end-to-end tests share; source it. A work folder removed on exit (kept with KEEP_WORK), the processes
# started in pids ended on exit, a failure that shows the logs, waiting, a virtual screen with a window manager,
# and key presses.
work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    [ -n "${KEEP_WORK:-}" ] || rm -rf "$work"
}
trap cleanup EXIT
trap "exit 1" INT TERM HUP

fail() {
    echo "FAIL: $*" >&2
    [ -s "$work/program.log" ] && sed 's/^/program: /' "$work/program.log" >&2
    [ -s "$work/openbox.log" ] && sed 's/^/openbox: /' "$work/openbox.log" >&2
    echo "windows on the screen:" >&2
    xdotool search --onlyvisible --name . getwindowname %@ >&2 2>/dev/null || true
    exit 1
}

# Waits up to 20 seconds for a command to succeed.
wait_for() {
    local tries=400
    until "$@" >/dev/null 2>&1; do
        tries=$((tries - 1))
        [ "$tries" -gt 0 ] || fail "timed out waiting for: $*"
        sleep 0.05
    done
}

# A browser that only writes down, in $opened, what it is asked to open, once a short while that differs from one
# address to the next has passed (as a browser takes its time), so that an address handed over before the one
# before it was taken would be written out of order. Given "at-once" it writes as it starts, for Wine: Wine's
# winebrowser starts xdg-open and ends without waiting for it, so there the order xdg-open is started in is all
# a Windows program can keep.
stand_in_browser() {
    opened=$work/opened.txt
    mkdir -p "$work/browser"
    touch "$opened"
    local delay='sleep 0.$((RANDOM % 4))'
    [ "${1:-}" != at-once ] || delay=''
    cat >"$work/browser/xdg-open" <<SCRIPT
#!/bin/bash
$delay
echo "\$1" >>"$opened"
SCRIPT
    chmod +x "$work/browser/xdg-open"
    export PATH=$work/browser:$PATH
}

# A virtual screen with a window manager, on a display of the range BAZAARLY_TEST_DISPLAYS gives ("first-last",
# 100-199 by default), tried from a place of this run's own in the range: Xvfb ends at once on a display another
# server holds, and the next is tried. Sets DISPLAY. The server, ended on exit, takes its socket and lock along.
start_screen() {
    local range=${BAZAARLY_TEST_DISPLAYS:-100-199} number ready server i
    local first=${range%-*} last=${range#*-}
    local count=$((last - first + 1))
    for ((i = 0; i < count; i++)); do
        number=$((first + ($$ + i) % count))
        ready=$work/display-$number
        # -noreset: a server that resets when its last client leaves can refuse the next one meanwhile.
        Xvfb ":$number" -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$ready" >/dev/null 2>&1 &
        server=$!
        local tries=400 # 20 seconds
        while kill -0 "$server" 2>/dev/null && [ ! -s "$ready" ] && [ $((tries -= 1)) -gt 0 ]; do sleep 0.05; done
        if [ -s "$ready" ]; then
            pids+=("$server")
            export DISPLAY=:$number
            break
        fi
        kill "$server" 2>/dev/null || true # one that never got ready
        wait "$server" 2>/dev/null || true
    done
    [ -s "$ready" ] || fail "no display of $range is free (BAZAARLY_TEST_DISPLAYS)"
    openbox --sm-disable >"$work/openbox.log" 2>&1 &
    pids+=($!)
    wait_for bash -c 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"'
}

title='Bazaarly Lookup Across Many Towns Utility'
# Waits for the program's window and gives it the keyboard.
activate_window() {
    wait_for xdotool search --onlyvisible --name "^$title\$"
    window=$(xdotool search --onlyvisible --name "^$title\$" | head -n 1)
    xdotool windowactivate --sync "$window"
}
# Installs the program from the build folder into $prefix with a small catalogue of our own, one location line an
# argument, and gives it a home and settings of its own and a browser that only writes down what it is asked to
# open; $stored is the settings file, as the build's tool SETTINGS_LOCATION names it.
install_program() { # BUILD SETTINGS_LOCATION LOCATION_LINE...
    prefix=$work/prefix
    cmake --install "$1" --prefix "$prefix" >/dev/null
    printf '%s\n' "${@:3}" >"$prefix/lib/bazaarly-search/list.txt"
    export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config
    mkdir -p "$HOME"
    stand_in_browser
    # shellcheck disable=SC2034 # read by the scripts that source this one
    stored=$("$2")
}

# Starts the program installed in $prefix (set by the script that sources this one) and waits for its window;
# $program is its process.
# shellcheck disable=SC2154
start_installed_program() {
    "$prefix/bin/bazaarly-search" >>"$work/program.log" 2>&1 &
    program=$!
    pids+=("$program")
    activate_window
}
# Keys reach the program in the order pressed, this many milliseconds apart (Wine's session takes them slower).
# Nobody else types on the virtual screen, so no modifier is ever held down to be cleared first.
key_delay=10
keys() { xdotool key --delay "$key_delay" "$@"; }
type_text() { xdotool type --delay "$key_delay" "$1"; }
# shellcheck disable=SC2046 # a Tab a word
tabs() { keys $(yes Tab | head -n "$1"); }
# Alt+F4, and the program started last ($program, set by the script that sources this one) ends.
# shellcheck disable=SC2154
close_through_window_manager() {
    keys alt+F4
    wait_for bash -c "! kill -0 $program"
}
