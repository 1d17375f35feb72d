#!/usr/bin/env bash
# Runs a Windows executable under Wine the way every Nocturo test does: the private prefix of its
# build folder (made by wine-prefix.sh on first use), the Japanese locale (ANSI code page 932), no
# debug chatter, and a display (a private Xvfb when there is none). CTest calls it as the
# cross-compiling emulator: tools/wine-run.sh PROGRAM.exe [ARGUMENTS...]
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/wine-env.sh"

if [ $# -eq 0 ]; then
    echo "usage: wine-run.sh PROGRAM.exe [ARGUMENTS...]" >&2
    exit 2
fi

# The prefix: as the build says (NOCTURO_WINEPREFIX), else the one of the build folder that holds
# the program, else the source tree's build/.
prefix="${NOCTURO_WINEPREFIX:-}"
if [ -z "$prefix" ]; then
    dir="$(cd "$(dirname "$1")" 2>/dev/null && pwd || echo /)"
    while [ "$dir" != / ] && [ ! -f "$dir/CMakeCache.txt" ]; do
        dir="$(dirname "$dir")"
    done
    if [ "$dir" != / ]; then
        prefix="$dir/wineprefix"
    else
        prefix="$here/../build/wineprefix"
    fi
fi
# A test that needs a server of its own names a prefix to copy (NOCTURO_WINEPREFIX_FROM).
nocturo_prepare_prefix "$prefix" "${NOCTURO_WINEPREFIX_FROM:-}"
if [ ! -f "$1" ]; then
    echo "wine-run: $1 does not exist" >&2
    exit 1
fi

# Windows and tray icons need an X display. On a private one, Wine (its desktop and services
# included) is ended before the display goes, so that nothing is left waiting for it.
if [ -z "${DISPLAY:-}" ]; then
    NOCTURO_WINE="$wine" NOCTURO_WINESERVER="$wineserver" \
        exec xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
        "$NOCTURO_WINE" "$@"
        rc=$?
        "$NOCTURO_WINESERVER" -k 2>/dev/null
        "$NOCTURO_WINESERVER" -w 2>/dev/null
        exit $rc' _ "$@"
fi
exec "$wine" "$@"
