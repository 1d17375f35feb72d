#!/usr/bin/env bash
# Installs what building and testing Nocturo needs on a Debian 12 machine: the native and mingw-w64
# compilers, GoogleTest and Google Benchmark, Wine with Xvfb for the Windows program and its tests,
# the Japanese locale and a Japanese font, the two iCalendar parsers that read the CLI's export
# back, clang with libFuzzer for the fuzzers, the header-only CLI11 and nlohmann-json with which
# nocturo-cli parses its options and writes its JSON, and the independent references of the
# astronomy tools: astropy (the solar terms, tools/sun_reference.py), PyEphem with ERFA (the risings
# and settings, tools/rise_set_reference.py) and hyperfine for timing the CLI. Idempotent and quick
# when everything is there already. Run as root, or as a user who may use sudo.
set -euo pipefail

packages=(
    build-essential cmake g++ clang-format
    googletest libgtest-dev libbenchmark-dev zlib1g-dev
    libcli11-dev nlohmann-json3-dev
    mingw-w64 g++-mingw-w64-x86-64-posix
    wine wine64
    xvfb xauth x11-utils xdotool imagemagick
    fonts-ipafont-gothic locales
    python3-icalendar libical3
    clang-14 libclang-rt-14-dev python3
    python3-ephem python3-erfa python3-astropy hyperfine
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

# Wine takes its ANSI code page from the locale: ja_JP.UTF-8 gives 932, the program's own;
# en_US.UTF-8 gives 1252, as on an English Windows, under which the tests check it too.
for wanted in ja_JP en_US; do
    if ! locale -a 2>/dev/null | grep -qix "$wanted\.utf-\?8"; then
        echo "setup: generating the $wanted.UTF-8 locale"
        if ! grep -q "^$wanted.UTF-8 UTF-8" /etc/locale.gen 2>/dev/null; then
            echo "$wanted.UTF-8 UTF-8" | as_root tee -a /etc/locale.gen >/dev/null
        fi
        as_root locale-gen >/dev/null
    fi
done

echo "setup: all tools present"
