#!/usr/bin/env bash
# Installs what building and testing Nocturo needs on a Debian 12 machine: the native and mingw-w64
# compilers, GoogleTest and Google Benchmark, Wine with Xvfb for the Windows program and its tests,
# the Japanese locale and a Japanese font, the two iCalendar parsers that read the CLI's export
# back, clang with libFuzzer for the fuzzers, astropy (the independent ephemeris that
# tools/sun_reference.py checks the solar terms against) and hyperfine for timing the CLI.
# Idempotent and quick when everything is there already. Run as root, or as a user who may use
# sudo.
set -euo pipefail

packages=(
    build-essential cmake g++ clang-format
    googletest libgtest-dev libbenchmark-dev zlib1g-dev
    mingw-w64 g++-mingw-w64-x86-64-posix
    wine wine64
    xvfb xauth x11-utils xdotool imagemagick
    fonts-ipafont-gothic locales
    python3-icalendar libical3
    clang-14 libclang-rt-14-dev python3
    python3-astropy hyperfine
)

as_root() {
    if [ "$(id -u)" -eq 0 ]; then
        "$@"
    elif command -v sudo >/dev/null 2>&1; then
        sudo "$@"
    else
        echo "setup: not root and no sudo; cannot run: $*" >&2
        return 1
    fi
}

# dpkg-query prints "install ok installed" only for a package that is fully set up.
missing=()
for p in "${packages[@]}"; do
    if [ "$(dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null)" != installed ]; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -gt 0 ]; then
    echo "setup: installing ${missing[*]}"
    as_root apt-get update -qq
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
fi

# Wine takes its ANSI code page from the locale: without ja_JP.UTF-8 it is 1252, not 932.
if ! locale -a 2>/dev/null | grep -qix 'ja_JP\.utf-\?8'; then
    echo "setup: generating the ja_JP.UTF-8 locale"
    if ! grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null; then
        echo 'ja_JP.UTF-8 UTF-8' | as_root tee -a /etc/locale.gen >/dev/null
    fi
    as_root locale-gen >/dev/null
fi

echo "setup: all tools present"
