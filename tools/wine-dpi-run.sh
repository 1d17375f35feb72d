#!/usr/bin/env bash
# Runs a Windows test executable under Wine once for each system dpi, each in a Wine prefix of its
# own: a copy of the build's prefix with LogPixels set (a dpi is read when Wine's server starts, so
# one server cannot serve two). The prefixes are made once and kept beside the build's.
#   tools/wine-dpi-run.sh PREFIX PROGRAM.exe DPI...
# Each run gets NOCTURO_TEST_DPI=DPI; the exit code is that of the first failing run, else 0.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/wine-env.sh"

if [ $# -lt 3 ]; then
    echo "usage: wine-dpi-run.sh PREFIX PROGRAM.exe DPI..." >&2
    exit 2
fi
base="$1"
program="$2"
shift 2

# Without a display, the whole run goes onto a private Xvfb, and every server of ours is ended
# before it goes.
if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" "$base" "$program" "$@"
fi

nocturo_prepare_prefix "$base"
base="$WINEPREFIX"

rc=0
for dpi in "$@"; do
    prefix="$(nocturo_dpi_prefix "$base" "$dpi")"
    echo "== $dpi dpi ($prefix)"
    set +e
    WINEPREFIX="$prefix" NOCTURO_TEST_DPI="$dpi" "$wine" "$program"
    run=$?
    set -e
    WINEPREFIX="$prefix" "$wineserver" -k 2>/dev/null || true
    WINEPREFIX="$prefix" "$wineserver" -w 2>/dev/null || true
    if [ "$run" -ne 0 ] && [ "$rc" -eq 0 ]; then
        rc=$run
    fi
done
exit "$rc"
