#!/usr/bin/env bash
# Builds the Qt for Windows that scripts/windows.sh cross-builds against, for a machine that lacks
# one: QtCore, QtGui, QtWidgets and QtTest with the windows, offscreen and minimal platform
# plugins and the windowsvista style, for x86_64-w64-mingw32, from the source of Debian's own
# qt6-base (the very version of the host Qt, whose moc, rcc and uic the builds use). About
# 15 minutes on 2 cores.
#
#   scripts/build-windows-qt.sh [WORK_DIR]      (default build/windows-qt)
#
# Leaves WORK_DIR/qt6-mingw-w64 (relocatable: CMake users pass its lib/cmake/Qt6/qt.toolchain.cmake)
# and WORK_DIR/qt<version>-mingw-w64-x86_64.tar.xz; then
#   VARNEK_WINDOWS_QT=WORK_DIR/qt6-mingw-w64 ./scripts/test.sh
# Needs Debian's archive (source packages included); run as root or with sudo.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

work=$(mkdir -p "${1:-$VARNEK_ROOT/build/windows-qt}" && cd "${1:-$VARNEK_ROOT/build/windows-qt}" && pwd)
prefix="$work/qt6-mingw-w64"
jobs=$(nproc)
started=$SECONDS

ensure_packages "${VARNEK_WINDOWS_QT_PACKAGES[@]}"

# The source of exactly the host Qt's version, so the host tools and the target libraries agree.
if ! grep -rqsE '^Types:.*deb-src' /etc/apt/sources.list.d/ && ! grep -qs '^deb-src' /etc/apt/sources.list; then
  as_root tee /etc/apt/sources.list.d/varnek-deb-src.sources >/dev/null <<'SOURCES'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SOURCES
  as_root apt-get update -qq
fi
version=$(dpkg-query -W -f='${Version}' qt6-base-dev)
source_dirs=("$work"/source/qt6-base-*/)
if [ ! -d "${source_dirs[0]}" ]; then
  mkdir -p "$work/source"
  (cd "$work/source" && apt-get source -qq "qt6-base=$version")
  source_dirs=("$work"/source/qt6-base-*/)
fi
source_dir=${source_dirs[0]%/}
echo "== Qt for Windows: qt6-base $version from $source_dir"

# Debian's tarball leaves out src/3rdparty/wintab, which the windows platform plugin includes:
# Wine's LGPL wintab.h and pktdef.h (from libwine-dev, unpacked only) stand in, behind a header
# that supplies the Wine macros they use.
wintab="$source_dir/src/3rdparty/wintab"
if [ ! -f "$wintab/wintab.h" ]; then
  mkdir -p "$work/wine-headers" "$wintab"
  (cd "$work/wine-headers" && rm -f libwine-dev_*.deb && apt-get download -qq libwine-dev \
    && rm -rf unpacked && dpkg-deb -x libwine-dev_*.deb unpacked)
  wine_include="$work/wine-headers/unpacked/usr/include/wine/wine/windows"
  cp "$wine_include/wintab.h" "$wintab/wine-wintab.h"
  cp "$wine_include/pktdef.h" "$wintab/pktdef.h"
  cat > "$wintab/wintab.h" <<'HEADER'
/* Wine's wintab.h (LGPL-2.1) with the macros it expects from Wine's own headers. */
#pragma once
#include <windows.h>
#ifndef WINELIB_NAME_AW
#  ifdef UNICODE
#    define WINELIB_NAME_AW(name) name##W
#  else
#    define WINELIB_NAME_AW(name) name##A
#  endif
#endif
#ifndef DECL_WINELIB_TYPE_AW
#  define DECL_WINELIB_TYPE_AW(type) typedef WINELIB_NAME_AW(type) type;
#endif
#ifndef API
#  define API WINAPI
#endif
#include "wine-wintab.h"
HEADER
fi

cat > "$work/mingw-w64-x86_64.cmake" <<'TOOLCHAIN'
# Debian's MinGW-w64 cross compiler with POSIX threads, for 64-bit Windows.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_AR x86_64-w64-mingw32-gcc-ar-posix CACHE FILEPATH "")
set(CMAKE_RANLIB x86_64-w64-mingw32-gcc-ranlib-posix CACHE FILEPATH "")
list(APPEND CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
TOOLCHAIN

# What the flags are for:
#  - INPUT_opengl=no with dynamicgl off: turning only FEATURE_opengl off breaks the windows plugin.
#  - direct2d stays on (the plugin's DirectWrite font database needs it); direct2d1_1 off drops
#    only the separate direct2d plugin.
#  - bundled zlib, PCRE2, libpng, FreeType, HarfBuzz, double-conversion: nothing to cross-build.
#  - -ffile-prefix-map keeps this machine's paths out of the DLLs.
build="$work/build"
configure_started=$SECONDS
cmake -G Ninja -S "$source_dir" -B "$build" \
  -DCMAKE_TOOLCHAIN_FILE="$work/mingw-w64-x86_64.cmake" \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON \
  -DCMAKE_C_FLAGS="-ffile-prefix-map=$work=/qt" -DCMAKE_CXX_FLAGS="-ffile-prefix-map=$work=/qt" \
  -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
  -DQT_BUILD_TOOLS_WHEN_CROSSCOMPILING=OFF -DFEATURE_pkg_config=OFF \
  -DFEATURE_gui=ON -DFEATURE_widgets=ON -DFEATURE_testlib=ON \
  -DFEATURE_network=OFF -DFEATURE_sql=OFF -DFEATURE_xml=OFF -DFEATURE_dbus=OFF \
  -DFEATURE_printsupport=OFF -DFEATURE_concurrent=OFF \
  -DINPUT_opengl=no -DFEATURE_opengl=OFF -DFEATURE_dynamicgl=OFF -DFEATURE_vulkan=OFF \
  -DFEATURE_direct2d=ON -DFEATURE_direct2d1_1=OFF \
  -DFEATURE_icu=OFF -DFEATURE_zstd=OFF -DFEATURE_jpeg=OFF -DFEATURE_androiddeployqt=OFF \
  -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF \
  -DFEATURE_system_freetype=OFF -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_doubleconversion=OFF \
  > "$work/configure.log" 2>&1 || { tail -30 "$work/configure.log" >&2; exit 1; }
echo "== Qt for Windows: configured in $((SECONDS - configure_started)) s (log: $work/configure.log)"
build_started=$SECONDS
cmake --build "$build" --parallel "$jobs" > "$work/build.log" 2>&1 \
  || { grep -A10 '^FAILED' "$work/build.log" | head -40 >&2; exit 1; }
echo "== Qt for Windows: built in $((SECONDS - build_started)) s (log: $work/build.log)"

rm -rf "$prefix"
cmake --install "$build" > "$work/install.log"
# Relocatable: Qt's toolchain file finds the MinGW one beside the prefix rather than in $work.
cp "$work/mingw-w64-x86_64.cmake" "$prefix/"
sed -i 's|^set(__qt_initially_configured_toolchain_file ".*")$|set(__qt_initially_configured_toolchain_file "${CMAKE_CURRENT_LIST_DIR}/../../../mingw-w64-x86_64.cmake")|' \
  "$prefix/lib/cmake/Qt6/qt.toolchain.cmake"
grep -q 'CMAKE_CURRENT_LIST_DIR}/../../../mingw-w64-x86_64.cmake' "$prefix/lib/cmake/Qt6/qt.toolchain.cmake"
# The MinGW runtime, so that Qt programs run from the prefix's bin folder.
for dll in libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll; do
  cp "$(x86_64-w64-mingw32-g++-posix -print-file-name=$dll)" "$prefix/bin/"
done
grep -rlI --include='*.prl' --include='*.pri' "$work" "$prefix" | xargs -r sed -i "s|$work|/qt|g"
find "$prefix" -name '*.dll' -exec x86_64-w64-mingw32-strip --strip-unneeded {} +

tarball="$work/qt${version%%+*}-mingw-w64-x86_64.tar.xz"
tar -C "$work" -cJf "$tarball" "$(basename "$prefix")"
echo "== Qt for Windows: $prefix ($(du -sh "$prefix" | cut -f1)), $tarball" \
     "($(du -h "$tarball" | cut -f1)), $((SECONDS - started)) s in all"
