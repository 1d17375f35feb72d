#!/usr/bin/env bash
# Runs a Windows test executable under Wine once for each system dpi, in the build's one prefix:
# the dpi (LogPixels) is set before each run and put back to 96 afterwards, with the prefix's
# server ended between runs (a dpi is read when Wine's server starts, so one server cannot serve
# two). Nothing else may run in the prefix meanwhile (CTest runs this test alone).
#   tools/wine-dpi-run.sh PREFIX PROGRAM.exe DPI...
# Each run gets NOCTURO_TEST_DPI=DPI; the exit code is that of the first failing run, else 0, and
# 1 when the dpi cannot be set or put back.
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
prefix="$WINEPREFIX"

# The prefix goes back to 96 dpi whatever happens, or every later test would run scaled.
restore() {
    if ! nocturo_set_dpi "$prefix" 96; then
        echo "wine-dpi-run: could not put $prefix back to 96 dpi" >&2
        exit 1
    fi
}
trap restore EXIT

rc=0
for dpi in "$@"; do
    echo "== $dpi dpi ($prefix)"
    if ! nocturo_set_dpi "$prefix" "$dpi"; then
        echo "wine-dpi-run: could not set $dpi dpi in $prefix" >&2
        rc=1
        continue
    fi
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
