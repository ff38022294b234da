#!/usr/bin/env bash
# Installs what building, running and testing BazaarlySearch needs on Debian or Ubuntu, and nothing that is
# already there. Uses sudo when not run as root.
set -euo pipefail

# Building and running; xdg-utils hands the search pages to the default browser.
packages=(cmake ninja-build g++ qt6-base-dev libgl-dev fonts-liberation xdg-utils)
if [ "${1:-}" = "--test" ]; then
    # The end-to-end test drives the real window in a virtual X server with a small window manager; the
    # sanitizer and fuzzing builds use clang and its runtimes; the benchmarks use Google Benchmark; the
    # package is checked with lintian, appstreamcli and desktop-file-validate.
    packages+=(xvfb xdotool xclip openbox x11-utils clang libclang-rt-dev libbenchmark-dev
        lintian appstream desktop-file-utils)
fi

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if ! command -v apt-get >/dev/null; then
    echo "setup: please install ${missing[*]} with your system's package manager" >&2
    exit 1
fi
sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
echo "setup: installing ${missing[*]}"
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
