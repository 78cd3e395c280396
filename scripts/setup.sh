#!/usr/bin/env bash
# Installs every Debian package the project needs to build and test: the
# native toolchain, test libraries, JSON reader and image file library, the 32-bit multilib compiler and the
# user-mode emulator that run the core as 32-bit code, the two MinGW-w64
# cross compilers, Wine, a virtual X server, xdotool, ImageMagick, and npm
# when the machine has none.
# Idempotent: a package
# already installed is left alone, and the package lists are refreshed only
# when something is missing. Needs root (or sudo) when it installs.
set -euo pipefail

PACKAGES=(
    cmake ninja-build g++ clang libclang-rt-14-dev
    g++-multilib qemu-user-static
    googletest libbenchmark-dev libsqlite3-dev nlohmann-json3-dev libstb-dev
    g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
    binutils-mingw-w64-x86-64 binutils-mingw-w64-i686
    wine64 xvfb xdotool imagemagick
    coreutils procps python3 openssl
)

missing=()
for package in "${PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done
# npm fetches the pinned SQLite source (scripts/sqlite-dll.sh). A machine whose
# Node.js came from elsewhere has its own npm, which Debian's would clash with.
if ! command -v npm >/dev/null; then
    missing+=(npm)
fi

if [[ ${#missing[@]} -eq 0 ]]; then
    echo "setup.sh: all ${#PACKAGES[@]} packages are installed"
    exit 0
fi

SUDO=
if [[ $(id -u) -ne 0 ]]; then
    SUDO=sudo
fi
echo "setup.sh: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
$SUDO apt-get install -y -q "${missing[@]}"
