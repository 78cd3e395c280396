#!/usr/bin/env bash
# Builds sqlite3.dll for one Windows target from the SQLite amalgamation
# (SQLite 3.53.0, deps/sqlite3/sqlite3.c) that the npm package
# better-sqlite3 ships, pinned to one version and checked against the
# registry's sha512 integrity before anything is taken from it.
#
#   sqlite-dll.sh C-COMPILER OUTPUT.dll
#
# The tarball, the extracted source and each target's DLL are cached under
# build/sqlite (OVRIX_SQLITE_CACHE): a fresh build folder copies the DLL a
# compiler already made, and nothing is fetched again while the cache holds.
# The DLL exports the whole SQLite API and needs only the system's
# KERNEL32.dll and msvcrt.dll (the compiler's runtime is linked in).
set -euo pipefail

PACKAGE=better-sqlite3
VERSION=12.9.0
INTEGRITY=sha512-wqUv4Gm3toFpHDQmaKD4QhZm3g1DjUBI0yzS4UBl6lElUmXFYdTQmmEDpAFa5o8FiFiymURypEnfVHzILKaxqQ==

if [[ $# -ne 2 ]]; then
    echo "usage: sqlite-dll.sh C-COMPILER OUTPUT.dll" >&2
    exit 2
fi
compiler=$1
output=$2
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cache=${OVRIX_SQLITE_CACHE:-$ROOT/build/sqlite}
source_dir=$cache/$PACKAGE-$VERSION
mkdir -p "$cache"

if [[ ! -f $source_dir/sqlite3.c ]]; then
    tarball=$cache/$PACKAGE-$VERSION.tgz
    if [[ ! -f $tarball ]]; then
        command -v npm >/dev/null || { echo "sqlite-dll.sh: npm is missing (it comes with the machine's Node.js)" >&2; exit 1; }
        (cd "$cache" && npm pack "$PACKAGE@$VERSION" --silent >/dev/null)
    fi
    actual="sha512-$(openssl dgst -sha512 -binary "$tarball" | base64 -w0)"
    if [[ $actual != "$INTEGRITY" ]]; then
        echo "sqlite-dll.sh: $tarball has integrity $actual, expected $INTEGRITY" >&2
        rm -f "$tarball"
        exit 1
    fi
    rm -rf "$source_dir.partial.$$"
    mkdir -p "$source_dir.partial.$$"
    tar -xzf "$tarball" -C "$source_dir.partial.$$" --strip-components=3 \
        package/deps/sqlite3/sqlite3.c package/deps/sqlite3/sqlite3.h
    rm -rf "$source_dir"
    mv "$source_dir.partial.$$" "$source_dir"
fi

built=$cache/$VERSION-$(basename "$compiler")/sqlite3.dll
if [[ ! -f $built ]]; then
    mkdir -p "$(dirname "$built")"
    "$compiler" -O2 -shared -static-libgcc -o "$built.partial.$$" "$source_dir/sqlite3.c"
    mv "$built.partial.$$" "$built"
fi
mkdir -p "$(dirname "$output")"
cp "$built" "$output"
