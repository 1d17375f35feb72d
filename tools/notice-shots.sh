#!/usr/bin/env bash
# Makes docs/notification.png: the morning notice of 1 March 2026 (09:00 in Japan, a week ahead)
# as Wine's tray shows it above the Moon icon, from the real tray code under Wine on a private
# Xvfb (tools/shots/notice_shots.cpp).
# Usage: tools/notice-shots.sh [WINDOWS BUILD FOLDER]   (default: build/windows; built if needed)
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
windows="${1:-$root/build/windows}"
docs="$root/docs"

if [ -z "${NOCTURO_SHOTS_XVFB:-}" ]; then
    if [ ! -f "$windows/CMakeCache.txt" ]; then
        cmake -S "$root" -B "$windows" -C "$root/tools/windows-build.cmake" \
            -DCMAKE_TOOLCHAIN_FILE="$root/tools/mingw-w64.cmake" >/dev/null
    fi
    nice cmake --build "$windows" -j"${NOCTURO_JOBS:-2}" --target nocturo-notice-shots \
        nocturo_probe >/dev/null
    windows="$(cd "$windows" && pwd)"
    NOCTURO_SHOTS_XVFB=1 exec timeout 120 xvfb-run -a -s "-screen 0 1024x768x24" \
        bash "$root/tools/notice-shots.sh" "$windows"
fi

export TZ=Asia/Tokyo
source "$root/tools/wine-env.sh"
nocturo_prepare_prefix "$windows/wineprefix"

shots="$windows/tools/shots/nocturo-notice-shots.exe"
probe="$windows/tests/e2e/nocturo_probe.exe"
run="$windows/notice-shots"
rm -rf "$run"
mkdir -p "$run" "$docs"

trap '"$wineserver" -k 2>/dev/null' EXIT
"$wineserver" -p </dev/null >/dev/null 2>&1

read -r bar_x bar_y bar_w bar_h < <("$wine" "$probe" taskbar 60 | tr -d '\r')
"$wine" "$shots" 8 </dev/null >"$run/shown.txt" 2>/dev/null &
pid=$!
for _ in $(seq 100); do
    [ -s "$run/shown.txt" ] && break
    sleep 0.1
done
sleep 2
import -window root "$run/screen.png"
wait "$pid" || true
grep -q shown "$run/shown.txt" || {
    echo "notice-shots: the shell did not take the notice" >&2
    exit 1
}
# The notice rises from the tray at the taskbar's right end: the screen's lower right corner.
width=252
height=124
convert "$run/screen.png" -crop "${width}x${height}+$((bar_x + bar_w - width))+$((bar_y + bar_h - height))" \
    +repage "$docs/notification.png"
echo "notice-shots: $docs/notification.png"
