#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks the Windows executable as a user's machine will see it: it needs no DLL that Windows does not have in
# its system folder (Wine's prefix stands in for one) or resolve itself, Windows looks for those DLLs in the
# system folder only, it carries the program's icon in seven sizes, its version and copyright for Explorer, a
# manifest that asks for no elevation, per-monitor DPI awareness and the common controls 6 and names Windows 10
# as the oldest Windows it runs on, and it is terminal-server aware. The installer carries its version for
# Explorer too, and the downloads' notices all open in a text editor.
# Usage: windows_executable.sh EXECUTABLE WINEPREFIX INSTALLER ZIP RELEASE
set -euo pipefail
executable=$1
system=$2/drive_c/windows/system32
installer=$3
zip=$4
release=$5
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
echo "imports only system DLLs: $(paste -sd " " <<<"$imports")"

# Each reader reads the extracted resource whole: one that stops early would end the extraction with SIGPIPE.
icons=$(icotool --list <(wrestool --extract --type=14 "$executable") | sed -n 's/.*--width=\([0-9]*\).*/\1/p' |
    paste -sd " ")
[ "$icons" = "32 256 128 48 24 20 16" ] || fail "the icon holds the sizes $icons, not 32 256 128 48 24 20 16"
echo "icon sizes: $icons"
version=$(wrestool --extract --type=16 --raw "$executable" | iconv -f UTF-16LE -t UTF-8 2>/dev/null | tr -d '\0')
grep -q 'Bazaarly Lookup Across Many Towns Utility' <<<"$version" || fail "no version resource naming the program"
echo "version resource present"
grep -q 'LegalCopyright.*Copyright (C) 2026 Quillmark' <<<"$version" || fail "no LegalCopyright in the version resource"
echo "copyright in the version resource"

manifest=$(wrestool --extract --type=24 --raw "$executable")
for declaration in 'level="asInvoker"' '>PerMonitorV2, PerMonitor<' 'name="Microsoft.Windows.Common-Controls" version="6.0.0.0"'; do
    grep -qF "$declaration" <<<"$manifest" || fail "the manifest lacks $declaration"
done
echo "manifest: asInvoker, per-monitor DPI awareness, common controls 6"

# Windows 10's identifier alone: the program and its installer say they run on nothing older.
for file in "$executable" "$installer"; do
    systems=$(wrestool --extract --type=24 --raw "$file" | grep -o 'supportedOS Id="[^"]*"' | paste -sd ' ')
    [ "$systems" = 'supportedOS Id="{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"' ] ||
        fail "$(basename "$file") declares the systems $systems, not Windows 10 alone"
done
echo "manifests: Windows 10 and later"

# IMAGE_DLLCHARACTERISTICS_TERMINAL_SERVER_AWARE
characteristics=$(x86_64-w64-mingw32-objdump -p "$executable" | sed -n 's/^DllCharacteristics\s*\([0-9a-f]*\)$/\1/p')
[ $((16#${characteristics:-0} & 0x8000)) -ne 0 ] || fail "not terminal-server aware (DllCharacteristics $characteristics)"
echo "terminal-server aware"

installer_version=$(wrestool --extract --type=16 --raw "$installer" | iconv -f UTF-16LE -t UTF-8 2>/dev/null | tr -d '\0')
for field in "ProductName.*BazaarlySearch" "ProductVersion.*$release" "CompanyName.*Quillmark" "LegalCopyright.*GPL"; do
    grep -q "$field" <<<"$installer_version" || fail "the installer's version resource lacks $field"
done
echo "installer's version resource: BazaarlySearch $release"

listing=$(unzip -Z1 "$zip")
untyped=$(grep '/notices/.*[^/]$' <<<"$listing" | grep -vi '\.txt$' || true)
[ -z "$untyped" ] || fail "notices that Windows opens with no program: $untyped"
grep -q '^[^/]*/README\.txt$' <<<"$listing" || fail "no README.txt in the zip"
grep -q '^[^/]*/LICENSE\.txt$' <<<"$listing" || fail "no LICENSE.txt in the zip"
echo "notices end in .txt; README.txt and LICENSE.txt beside the program"

# The load configuration's dependent-load flags, 78 bytes into its table: LOAD_LIBRARY_SEARCH_SYSTEM32 (0x800).
read -r -a load_config < <(x86_64-w64-mingw32-objdump -p "$executable" |
    sed -n 's/^Entry a \([0-9a-f]*\) \([0-9a-f]*\) Load Configuration Directory$/\1 \2/p') || true
if [ "${#load_config[@]}" -ne 2 ] || [ $((16#${load_config[1]})) -lt 80 ]; then
    fail "no load configuration that holds dependent-load flags"
fi
image_base=$(x86_64-w64-mingw32-objdump -p "$executable" | sed -n 's/^ImageBase\s*\([0-9a-f]*\)$/\1/p')
flags_at=$((16#$image_base + 16#${load_config[0]} + 78))
flags=$(x86_64-w64-mingw32-objdump -s --start-address=$flags_at --stop-address=$((flags_at + 2)) "$executable" |
    sed -n 's/^ [0-9a-f]* \([0-9a-f]\{4\}\).*/\1/p')
[ "$flags" = 0008 ] || fail "the dependent-load flags are $flags, not LOAD_LIBRARY_SEARCH_SYSTEM32 (0008 in little-endian)"
echo "imported DLLs from the system folder only"
echo "1 passed, 0 failed"
