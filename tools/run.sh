#!/usr/bin/env bash
# The main job: installs whatever is missing, builds Nocturo and starts it.
#   tools/run.sh          start nocturo.exe under Wine (Japanese locale, Japanese fonts) in the
#                         virtual desktop "Nocturo" with its taskbar: in a window on your display
#                         when there is one (it keeps running), else on a virtual screen (Xvfb)
#                         that is closed again after the screenshot. Either way a screenshot is
#                         written and its path printed.
#   tools/run.sh --stop   end the nocturo.exe started by this script (as its menu's 終了 does).
# Until the Windows build has the tray program, this runs `nocturo-cli moon` instead.
# Environment: NOCTURO_BUILD (default: build/ in the repository), NOCTURO_JOBS (default: 2).
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${NOCTURO_BUILD:-$root/build}"
jobs="${NOCTURO_JOBS:-2}"
windows="$build/windows"
native="$build/native"
log="$build/logs"
shots="$build/screenshots"
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver64

# The program runs in a prefix of its own, apart from the one the tests use.
export WINEPREFIX="$windows/wineprefix-run"
export WINEDEBUG=-all
export LANG=ja_JP.UTF-8
export LC_ALL=ja_JP.UTF-8

program="${NOCTURO_RUN_PROGRAM:-$windows/tray/nocturo.exe}"
probe="${NOCTURO_RUN_PROBE:-$windows/tests/e2e/nocturo_probe.exe}"

if [ "${1:-}" = --stop ]; then
    if [ -x "$program" ] && [ -d "$WINEPREFIX" ]; then
        timeout 30 "$wine" "$program" -r || true
        "$wineserver" -k 2>/dev/null || true
    fi
    echo "run: stopped"
    exit 0
fi

# The part that runs on the chosen display (this script again, under xvfb-run when there is none).
if [ "${1:-}" = --on-display ]; then
    mode="$2"
    mkdir -p "$shots"
    shot="$shots/nocturo-run.png"
    # Started apart from this shell, so that it stays when the script ends.
    setsid "$wine" "$program" </dev/null >/dev/null 2>&1 &
    if [ -f "$probe" ]; then
        "$wine" "$probe" tray '*' 60 >/dev/null || echo "run: no tray icons after 60 s" >&2
    fi
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
    exit 0
fi

bash "$root/tools/setup.sh"
mkdir -p "$log"

echo "run: building the Windows configuration ($windows)"
cmake -S "$root" -B "$windows" -DCMAKE_TOOLCHAIN_FILE="$root/tools/mingw-w64.cmake" \
    >"$log/run-windows-configure.log" 2>&1 || {
    tail -30 "$log/run-windows-configure.log"
    exit 1
}

targets_known="$(cmake --build "$windows" --target help 2>/dev/null || true)"
if grep -qx '\.\.\. nocturo' <<<"$targets_known"; then
    targets=(nocturo)
    if grep -qx '\.\.\. nocturo_probe' <<<"$targets_known"; then
        targets+=(nocturo_probe)
    fi
    cmake --build "$windows" -j"$jobs" --target "${targets[@]}" >"$log/run-windows-build.log" 2>&1 || {
        grep -E -A5 'error' "$log/run-windows-build.log" | head -60
        exit 1
    }
    NOCTURO_RUN_PROGRAM="$(find "$windows" -name nocturo.exe -not -path '*/e2e/*' | head -1)"
    NOCTURO_RUN_PROBE="$(find "$windows" -name nocturo_probe.exe | head -1)"
    export NOCTURO_RUN_PROGRAM NOCTURO_RUN_PROBE
    bash "$root/tools/wine-prefix.sh" "$WINEPREFIX"
    if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
        exec bash "$root/tools/run.sh" --on-display screen
    fi
    exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$root/tools/run.sh" --on-display xvfb
fi

# Until the tray program exists: the command-line companion, natively.
echo "run: the Windows program is not built yet; running nocturo-cli moon"
cmake -S "$root" -B "$native" >"$log/run-native-configure.log" 2>&1 &&
    cmake --build "$native" -j"$jobs" --target nocturo-cli >"$log/run-native-build.log" 2>&1 || {
    tail -30 "$log/run-native-build.log" 2>/dev/null || tail -30 "$log/run-native-configure.log"
    exit 1
}
exec "$native/cli/nocturo-cli" moon
