#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the static Qt for Windows that the cross-build links: Debian's own qtbase source package, Debian's
# patches applied, compiled with MinGW-w64. It is built once and kept in the user's cache under a hash of this
# recipe (this script, the toolchain file and the Qt version), so a change to any of them builds it anew.
# Prints the Qt prefix as its last line. JOBS sets the parallel jobs (2 by default).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
toolchain=$root/cmake/mingw-w64-x86_64.cmake
jobs=${JOBS:-2}

# The host tools (moc, rcc, uic) come from the installed qt6-base-dev, so the source must be its very version.
qt_version=$(dpkg-query -W -f='${source:Version}' qt6-base-dev)
recipe_hash=$(cat "${BASH_SOURCE[0]}" "$toolchain" <(echo "$qt_version") | sha256sum | cut -c1-12)
cache=${XDG_CACHE_HOME:-$HOME/.cache}/bazaarly-search
prefix=$cache/qt-mingw-$recipe_hash
work=$cache/qt-mingw-$recipe_hash.work
log=$cache/qt-mingw-$recipe_hash.log

mkdir -p "$cache"
exec 9>"$cache/qt-mingw.lock"
flock 9 # a second build waits for the first and then finds the result
if [ -f "$prefix/.complete" ]; then
    echo "$prefix"
    exit 0
fi

fail() {
    echo "windows-qt: $1; the last lines of $log:" >&2
    tail -n 30 "$log" >&2
    exit 1
}

echo "windows-qt: building Qt $qt_version for Windows into $prefix (about 15 minutes with 2 jobs; log: $log)" >&2
rm -rf "$prefix" "$work"
mkdir -p "$work"
: >"$log"
(cd "$work" && apt-get source -qq "qt6-base=$qt_version") >>"$log" 2>&1 || fail "fetching Debian's qt6-base source failed"
source_dir=$(find "$work" -mindepth 1 -maxdepth 1 -type d -name 'qt6-base-*')

# Only what the program and its tests use. Without OpenGL, dynamic OpenGL must go too or the windows platform
# plugin does not compile. Debian's tarball lacks the Wintab headers, hence no tablet events; Qt's Direct2D code
# is needed to link, but its platform plugin is not.
started=$(date +%s)
cmake -S "$source_dir" -B "$work/build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DBUILD_SHARED_LIBS=OFF -DFEATURE_static_runtime=ON \
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
    -DFEATURE_dbus=OFF -DFEATURE_sql=OFF -DFEATURE_xml=OFF -DFEATURE_concurrent=OFF -DFEATURE_printsupport=OFF \
    -DFEATURE_opengl=OFF -DFEATURE_dynamicgl=OFF -DFEATURE_vulkan=OFF -DFEATURE_openssl=OFF -DFEATURE_icu=OFF -DFEATURE_zstd=OFF \
    -DFEATURE_jpeg=OFF -DFEATURE_gif=OFF -DFEATURE_png=ON -DFEATURE_ico=ON \
    -DFEATURE_network=ON -DFEATURE_localserver=ON \
    -DFEATURE_freetype=ON -DFEATURE_system_freetype=OFF -DFEATURE_harfbuzz=ON -DFEATURE_system_harfbuzz=OFF \
    -DFEATURE_system_zlib=OFF -DFEATURE_system_png=OFF -DFEATURE_system_pcre2=OFF \
    -DFEATURE_tabletevent=OFF -DFEATURE_direct2d1_1=OFF \
    >>"$log" 2>&1 || fail "configuring Qt failed"
configured=$(date +%s)
cmake --build "$work/build" -j "$jobs" >>"$log" 2>&1 || fail "building Qt failed"
cmake --install "$work/build" >>"$log" 2>&1 || fail "installing Qt failed"
finished=$(date +%s)

rm -rf "$work"
size=$(du -sm "$prefix" | cut -f1)
summary="Qt $qt_version: configured in $((configured - started)) s, built in $((finished - configured)) s with $jobs jobs; $size MB installed"
echo "$summary" >"$prefix/.complete"
echo "windows-qt: $summary" >&2
echo "$prefix"
