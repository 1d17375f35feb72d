#!/usr/bin/env bash
# The main job: installs whatever is missing, builds Nocturo and starts it.
#   tools/run.sh          start nocturo.exe under Wine (Japanese locale, Japanese fonts) in the
#                         virtual desktop "Nocturo" with its taskbar: in a window on your display
#                         when there is one (it keeps running), else on a virtual screen (Xvfb)
#                         that is closed again after the screenshot. Either way a screenshot is
#                         written and its path printed.
#   tools/run.sh --stop   end the nocturo.exe started by this script (as its menu's 終了 does).
# Environment: NOCTURO_BUILD (default: build/ in the repository), NOCTURO_JOBS (default: 2).
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${NOCTURO_BUILD:-$root/build}"
jobs="${NOCTURO_JOBS:-2}"
windows="$build/windows"
log="$build/logs"
shots="$build/screenshots"
program="$windows/tray/nocturo.exe"
probe="$windows/tests/e2e/nocturo_probe.exe"

# The program runs in a prefix of its own, apart from the one the tests use. Before setup.sh has
# run, Wine may be missing; --stop has nothing to stop then.
if [ "${1:-}" = --stop ]; then
    if [ -f "$program" ] && [ -d "$windows/wineprefix-run" ] && source "$root/tools/wine-env.sh"; then
        nocturo_wine_env "$windows/wineprefix-run"
        timeout 30 "$wine" "$program" -r || true
        "$wineserver" -k 2>/dev/null || true
    fi
    echo "run: stopped"
    exit 0
fi

# The part that runs on the chosen display (this script again, under xvfb-run when there is none).
if [ "${1:-}" = --on-display ]; then
    mode="$2"
    source "$root/tools/wine-env.sh"
    nocturo_wine_env "$windows/wineprefix-run"
    mkdir -p "$shots"
    shot="$shots/nocturo-run.png"
    # Started apart from this shell, so that it stays when the script ends.
    setsid "$wine" "$program" </dev/null >/dev/null 2>&1 &
    icons=yes
    "$wine" "$probe" tray '*' 60 >/dev/null || icons=no
    sleep 3  # the one-second splash has gone and the icons are drawn
    desktop="$(xwininfo -root -tree 2>/dev/null | sed -n 's/^ *\(0x[0-9a-f]*\) "Nocturo - Wine desktop".*/\1/p' | head -1)"
    import -window "${desktop:-root}" "$shot"
    if [ "$mode" = xvfb ]; then
        timeout 30 "$wine" "$program" -r || true
        "$wineserver" -k 2>/dev/null || true
        echo "run: no display here, so nocturo.exe ran on a virtual screen and was stopped again."
    else
        echo "run: nocturo.exe is running in the window \"Nocturo - Wine desktop\"."
        echo "run: right-click a tray icon for its menu; stop it with 終了 or: tools/run.sh --stop"
    fi
    echo "run: screenshot: $shot"
    if [ "$icons" = no ]; then
        echo "run: nocturo.exe showed no tray icons within 60 s" >&2
        exit 1
    fi
    exit 0
fi

bash "$root/tools/setup.sh"
mkdir -p "$log"

echo "run: building the Windows configuration ($windows)"
cmake -S "$root" -B "$windows" -C "$root/tools/windows-build.cmake" \
        -DCMAKE_TOOLCHAIN_FILE="$root/tools/mingw-w64.cmake" \
    >"$log/run-windows-configure.log" 2>&1 || {
    tail -30 "$log/run-windows-configure.log"
    exit 1
}

cmake --build "$windows" -j"$jobs" --target nocturo nocturo_probe >"$log/run-windows-build.log" 2>&1 || {
    grep -E -A5 'error' "$log/run-windows-build.log" | head -60
    exit 1
}
for needed in "$program" "$probe"; do
    if [ ! -f "$needed" ]; then
        echo "run: $needed was not built (see $log/run-windows-build.log)" >&2
        exit 1
    fi
done
source "$root/tools/wine-env.sh"
nocturo_prepare_prefix "$windows/wineprefix-run"
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    exec bash "$root/tools/run.sh" --on-display screen
fi
exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$root/tools/run.sh" --on-display xvfb
