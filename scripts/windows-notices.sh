#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Gathers the licences and notices of everything the Windows executable links, from the very files Debian ships
# them in, never retyped: Qt's own licences and Debian's copyright file for qt6-base (the version whose source
# scripts/windows-qt.sh compiles), the licence files of the libraries Qt bundles into the static build (FreeType,
# HarfBuzz, zlib, libpng, PCRE2), and Debian's copyright files for the MinGW-w64 runtime and for GCC, whose
# libgcc and libstdc++ come under the GCC Runtime Library Exception. Qt's Debian source files are kept beside the
# notices, for whoever hands on the executable and with it the LGPL's offer of Qt's source.
# Kept in the user's cache under a hash of this script and the versions, like the Qt build.
# Prints the folder as its last line: notices/ (for the program's folder) and qt-source/ (to hand on beside it).
set -euo pipefail

qt_version=$(dpkg-query -W -f='${source:Version}' qt6-base-dev)
mingw_copyright=/usr/share/doc/mingw-w64-x86-64-dev/copyright
gcc_copyright=/usr/share/doc/gcc-mingw-w64-x86-64-posix-runtime/copyright
versions=$(dpkg-query -W -f='${Package} ${Version}\n' mingw-w64-x86-64-dev gcc-mingw-w64-x86-64-posix-runtime)
recipe_hash=$(cat "${BASH_SOURCE[0]}" <(echo "$qt_version $versions") | sha256sum | cut -c1-12)
cache=${XDG_CACHE_HOME:-$HOME/.cache}/bazaarly-search
result=$cache/windows-notices-$recipe_hash
if [ -f "$result/.complete" ]; then
    echo "$result"
    exit 0
fi

fail() {
    echo "windows-notices: $1" >&2
    exit 1
}

for file in "$mingw_copyright" "$gcc_copyright"; do
    [ -f "$file" ] || fail "$file is missing; scripts/setup.sh --windows installs the cross-compiler that has it"
done
echo "windows-notices: gathering the notices of Qt $qt_version and the MinGW-w64 runtime into $result" >&2
rm -rf "$result"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$work" && apt-get source --download-only -qq "qt6-base=$qt_version") >"$work/apt.log" 2>&1 ||
    { cat "$work/apt.log" >&2; fail "fetching Debian's qt6-base source failed"; }
upstream=$(find "$work" -maxdepth 1 -name 'qt6-base_*.orig.tar.*')
packaging=$(find "$work" -maxdepth 1 -name 'qt6-base_*.debian.tar.*')
if [ -z "$upstream" ] || [ -z "$packaging" ]; then
    fail "Debian's qt6-base source lacks its upstream or Debian tarball"
fi

# Each bundled library with the files its folder in Qt's source names its licence in, and Qt's attribution
# (the library's version and copyright holders).
declare -A bundled=(
    [FreeType]="freetype: LICENSE.txt docs/FTL.TXT docs/GPLv2.TXT BDF-LICENSE.txt PCF-LICENSE.txt ZLIB-LICENSE.txt"
    [HarfBuzz]="harfbuzz-ng: COPYING"
    [zlib]="zlib: LICENSE"
    [libpng]="libpng: LICENSE"
    [PCRE2]="pcre2: LICENCE LICENCE-SLJIT"
)
members=("*/LICENSES/*")
for name in "${!bundled[@]}"; do
    folder=${bundled[$name]%%:*}
    for file in ${bundled[$name]#*:} qt_attribution.json; do
        members+=("*/src/3rdparty/$folder/$file")
    done
done
mkdir -p "$work/upstream" "$work/packaging"
tar -xf "$upstream" -C "$work/upstream" --wildcards "${members[@]}"
tar -xf "$packaging" -C "$work/packaging" debian/copyright
source_dir=$(find "$work/upstream" -mindepth 1 -maxdepth 1 -type d)

notices=$result/notices
mkdir -p "$notices/Qt" "$result/qt-source"
cp "$work/packaging/debian/copyright" "$notices/Qt/copyright (Debian qt6-base $qt_version).txt"
# Qt's licences but the commercial one, which nobody here holds.
find "$source_dir/LICENSES" -name '*.txt' ! -name 'LicenseRef-Qt-Commercial*' -exec cp -t "$notices/Qt" {} +
for name in "${!bundled[@]}"; do
    folder=${bundled[$name]%%:*}
    mkdir -p "$notices/$name"
    for file in ${bundled[$name]#*:} qt_attribution.json; do
        cp "$source_dir/src/3rdparty/$folder/$file" "$notices/$name/" || fail "Qt's source has no $folder/$file"
    done
done
mkdir -p "$notices/MinGW-w64" "$notices/GCC"
cp "$mingw_copyright" "$notices/MinGW-w64/copyright (Debian mingw-w64).txt"
cp "$gcc_copyright" "$notices/GCC/copyright (Debian gcc-mingw-w64, libgcc and libstdc++).txt"
grep -q 'GCC RUNTIME LIBRARY EXCEPTION' "$gcc_copyright" || fail "$gcc_copyright lacks the runtime library exception"
cp "$work"/qt6-base_* "$result/qt-source/"

echo "Qt $qt_version" >"$result/.complete"
echo "$result"
