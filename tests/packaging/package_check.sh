#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks the package with the tools a Debian maintainer and the software centres use:
#   package_check.sh lintian CPACK BUILD   builds the .deb from BUILD in a scratch folder, then runs lintian
#   package_check.sh appstream FILE        validates the AppStream metadata, offline
#   package_check.sh desktop FILE          validates the menu entry
# Any error or warning fails the check; a missing tool skips it with ctest's skip code, 77.
set -euo pipefail

skip_without() {
    command -v "$1" >/dev/null || { echo "skipped: $1 is not installed"; exit 77; }
}

case $1 in
lintian)
    skip_without lintian
    skip_without dpkg-deb
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
    "$2" -G DEB --config "$3/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log"; exit 1; }
    lintian --pedantic --info --display-experimental --fail-on error,warning "$work"/*.deb
    ;;
appstream)
    skip_without appstreamcli
    appstreamcli validate --no-net "$2"
    ;;
desktop)
    skip_without desktop-file-validate
    # It exits with success after warnings, so any output at all fails the check.
    complaints=$(desktop-file-validate "$2" 2>&1) || true
    [ -z "$complaints" ] || { echo "$complaints"; exit 1; }
    ;;
*)
    echo "usage: $0 lintian CPACK BUILD | appstream FILE | desktop FILE" >&2
    exit 2
    ;;
esac
