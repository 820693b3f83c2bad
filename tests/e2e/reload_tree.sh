#!/usr/bin/env bash
# A copy of the source tree with a build tree of its own, for watching the window follow a
# changed source without touching the real one. The copy keeps the files' times, so that its
# build tree stays warm from one run to the next: only what changed since is compiled, and
# ccache (keyed on paths relative to the copy, as to the original) serves what any tree on this
# machine has compiled before.
# Usage: reload_tree.sh SOURCE_DIR COPY_DIR [BUILD_TYPE]; prints the copy's simulator.
set -euo pipefail
source_dir=$(cd "$1" && pwd)
copy=$2
mkdir -p "$copy"
copy=$(cd "$copy" && pwd)
# Build trees (whatever their names, this copy's own included) are left out.
tar -C "$source_dir" --exclude-tag-all=CMakeCache.txt --anchored --exclude=./build \
    --exclude='./build-*' --exclude=./.git --exclude=./tests/web/node_modules --exclude=./tests/control/node_modules -cf - . |
    tar -C "$copy" -xf -
launcher=()
if command -v ccache >/dev/null 2>&1; then
    export CCACHE_BASEDIR="$copy" CCACHE_NOHASHDIR=1 \
        CCACHE_SLOPPINESS=pch_defines,time_macros
    launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
# The firmware as shared libraries, as scripts/run --watch builds it.
if [ ! -f "$copy/build/build.ninja" ] ||
    ! grep -q '^TXM9_FIRMWARE_SHARED:BOOL=ON$' "$copy/build/CMakeCache.txt"; then
    cmake -S "$copy" -B "$copy/build" -G Ninja -DCMAKE_BUILD_TYPE="${3:-RelWithDebInfo}" \
        -DTXM9_BUILD_BENCH=OFF -DTXM9_FIRMWARE_SHARED=ON "${launcher[@]}" >"$copy/configure.log" 2>&1 ||
        { cat "$copy/configure.log" >&2; exit 1; }
fi
cmake --build "$copy/build" --target txm9-simulator >"$copy/build.log" 2>&1 ||
    { tail -n 40 "$copy/build.log" >&2; exit 1; }
echo "$copy/build/frontends/qt/txm9-simulator"
