#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what building, running and testing BazaarlySearch needs on Debian or Ubuntu, and nothing that is
# already there. Uses sudo when not run as root.
set -euo pipefail

# Building and running; xdg-utils hands the search pages to the default browser.
packages=(cmake ninja-build g++ qt6-base-dev libgl-dev fonts-liberation xdg-utils)
if [ "${1:-}" = "--test" ]; then
    # The end-to-end test drives the real window in a virtual X server with a small window manager; the
    # sanitizer and fuzzing builds use clang and its runtimes; the benchmarks use Google Benchmark, and the
    # one that times whole processes watches the X server through libxcb and its DAMAGE extension; the
    # package is checked with lintian, appstreamcli and desktop-file-validate; a headless Weston and Qt's
    # Wayland platform let a test take the compositor away from the program.
    packages+=(xvfb xdotool xclip openbox x11-utils clang libclang-rt-dev libbenchmark-dev libxcb-damage0-dev
        lintian appstream desktop-file-utils weston qt6-wayland)
fi
if [ "${1:-}" = "--windows" ]; then
    # The Windows build: the MinGW-w64 cross-compiler, Debian's Qt source (unpacked by dpkg-source), Wine to run
    # the program and its tests, the window test's X server, window manager and key presser, and NSIS, which
    # makes the installer.
    packages+=(g++-mingw-w64-x86-64-posix dpkg-dev wine wine64 fonts-wine icoutils xvfb xdotool openbox x11-utils nsis)
fi

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
# The Windows build compiles Qt from Debian's source package, which apt finds only through a deb-src entry.
needs_sources=no
if [ "${1:-}" = "--windows" ] && ! apt-get source --print-uris qt6-base >/dev/null 2>&1; then
    needs_sources=yes
fi
[ ${#missing[@]} -eq 0 ] && [ $needs_sources = no ] && exit 0

if ! command -v apt-get >/dev/null; then
    echo "setup: please install ${missing[*]} with your system's package manager" >&2
    exit 1
fi
sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
if [ $needs_sources = yes ]; then
    # The same Debian or Ubuntu archives, suites and components as the binary packages, for sources.
    echo "setup: adding deb-src entries for the system's Debian archives"
    stanzas=$(cat /etc/apt/sources.list.d/*.sources 2>/dev/null |
        awk -v RS= -v ORS='\n\n' '/Types:[^\n]*deb([ \n]|$)/ && /URIs:[^\n]*(debian|ubuntu)/ {
            sub(/Types:[^\n]*/, "Types: deb-src"); print }')
    lines=$(sed -n 's/^deb \(.*\(debian\|ubuntu\).*\)/deb-src \1/p' /etc/apt/sources.list 2>/dev/null || true)
    [ -z "$stanzas" ] || echo "$stanzas" | "${sudo[@]}" tee /etc/apt/sources.list.d/bazaarly-deb-src.sources >/dev/null
    [ -z "$lines" ] || echo "$lines" | "${sudo[@]}" tee /etc/apt/sources.list.d/bazaarly-deb-src.list >/dev/null
fi
"${sudo[@]}" apt-get update -qq
[ ${#missing[@]} -eq 0 ] && exit 0
echo "setup: installing ${missing[*]}"
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
