#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks the Windows executable as a user's machine will see it: it needs no DLL that Windows does not have in
# its system folder (Wine's prefix stands in for one) or resolve itself, and it carries the program's icon, in four sizes, and its
# version for Explorer.
# Usage: windows_executable.sh EXECUTABLE WINEPREFIX
set -euo pipefail
executable=$1
system=$2/drive_c/windows/system32
"$(dirname "$0")/../../scripts/wine-run.sh" "$2" cmd /c exit # makes the prefix on its first use

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

[ -d "$system" ] || fail "no Windows system folder in $2"
imports=$(x86_64-w64-mingw32-objdump -p "$executable" | sed -n 's/^\s*DLL Name: //p')
[ -n "$imports" ] || fail "no imported DLLs listed for $executable"
for dll in $imports; do
    # API sets are names that Windows resolves itself, with no file of that name.
    [[ ${dll,,} == api-ms-win-* ]] && continue
    find "$system" -maxdepth 1 -iname "$dll" | grep -q . || fail "$executable needs $dll, which Windows does not have"
done
echo "imports only system DLLs: $(echo $imports)"

icons=$(wrestool --extract --type=14 "$executable" | icotool --list - | sed -n 's/.*--width=\([0-9]*\).*/\1/p')
[ "$(echo $icons)" = "32 256 128 48 24 20 16" ] || fail "the icon holds the sizes $(echo $icons), not 32 256 128 48 24 20 16"
echo "icon sizes: $(echo $icons)"
wrestool --extract --type=16 --raw "$executable" | iconv -f UTF-16LE -t UTF-8 2>/dev/null | tr -d '\0' |
    grep -q 'Bazaarly Lookup Across Many Towns Utility' || fail "no version resource naming the program"
echo "version resource present"
echo "1 passed, 0 failed"
