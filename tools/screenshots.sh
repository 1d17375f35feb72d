#!/usr/bin/env bash
# Makes the README's pictures in docs/ from the real program under Wine on a private Xvfb:
#   docs/tray.png    the notification area with all five icons and the Moon icon's tooltip
#                    (shown twice the size, pixel for pixel);
#   docs/splash.png  the splash, caught within the second it is shown after start;
#   docs/moon-info.png, docs/calendar.png, docs/calendar-monday.png, docs/day-detail.png
#                    the Moon information and calendar windows on the screen, the calendar with
#                    Monday first and the window "日の詳細" of 21 March, all at a fixed moment
#                    (15 March 2023, 12:00 in Japan) by tools/shots/window_shots.cpp;
#   docs/moon-info-eclipse.png, docs/calendar-eclipse.png
#                    the Moon information and calendar windows on 3 March 2026 at 20:30 in Japan,
#                    in the totality of that evening's lunar eclipse; the calendar with the
#                    tooltip of that day;
#   docs/tray-scales.png, docs/calendar-144dpi.png
#                    the tray at 96, 120, 144 and 192 dpi and the calendar window at 144 dpi,
#                    by tools/scale-shots.sh (called at the end, with tools/editor-shots.sh);
#   docs/notification.png
#                    the morning notice in Wine's tray, by tools/notice-shots.sh (at the end).
# Usage: tools/screenshots.sh [WINDOWS BUILD FOLDER]   (default: build/windows; built if needed)
# The tray pictures show the day they were made, in Japan's time zone.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
windows="${1:-$root/build/windows}"
docs="$root/docs"

if [ -z "${NOCTURO_SHOTS_XVFB:-}" ]; then
    bash "$root/tools/setup.sh"
    cmake -S "$root" -B "$windows" -C "$root/tools/windows-build.cmake" \
        -DCMAKE_TOOLCHAIN_FILE="$root/tools/mingw-w64.cmake" >/dev/null
    cmake --build "$windows" -j"${NOCTURO_JOBS:-2}" --target nocturo nocturo_probe \
        nocturo-window-shots >/dev/null
    windows="$(cd "$windows" && pwd)"
    NOCTURO_SHOTS_XVFB=1 exec timeout 300 xvfb-run -a -s "-screen 0 1024x768x24" \
        bash "$root/tools/screenshots.sh" "$windows"
fi

export TZ=Asia/Tokyo
source "$root/tools/wine-env.sh"
nocturo_prepare_prefix "$windows/wineprefix"

exe="$windows/tray/nocturo.exe"
probe="$windows/tests/e2e/nocturo_probe.exe"
for needed in "$exe" "$probe"; do
    [ -f "$needed" ] || {
        echo "screenshots: $needed is missing" >&2
        exit 1
    }
done
shots="$windows/tools/shots/nocturo-window-shots.exe"
[ -f "$shots" ] || {
    echo "screenshots: $shots is missing" >&2
    exit 1
}
run="$windows/shots"
rm -rf "$run"
mkdir -p "$run" "$docs"
cp "$exe" "$run/nocturo.exe"
# All five icons on.
printf '[Settings]\r\nMoonIcon=1\r\nTideIcon=1\r\nMonthIcon=1\r\nDayIcon=1\r\nWeekDayIcon=1\r\n' \
    >"$run/nocturo.ini"

trap '"$wineserver" -k 2>/dev/null' EXIT
"$wineserver" -p </dev/null >/dev/null 2>&1

probe() {
    "$wine" "$probe" "$@" | tr -d '\r'
    return "${PIPESTATUS[0]}"
}

read -r bar_x bar_y bar_w bar_h < <(probe taskbar 60)

# The splash shows for one second from the start: the probe watches for it and copies it from the
# screen at once.
"$wine" "$run/nocturo.exe" </dev/null >/dev/null 2>&1 &
probe splash "Z:$(tr / '\\' <<<"$run/splash.bmp")" 30
convert "$run/splash.bmp" "$docs/splash.png"

probe tray 01234 30
sleep 2
# The icons sit at the right end of the taskbar; the Moon is the first of them from the left.
tray_w=240
tray_x=$((bar_x + bar_w - tray_w))
import -window root -crop "${tray_w}x${bar_h}+${tray_x}+${bar_y}" +repage "$run/tray.png"
read -r icons_w icons_x < <(convert "$run/tray.png" -fuzz 8% -trim -format '%w %X\n' info:)
moon_x=$((tray_x + ${icons_x#+} + 8))
xdotool mousemove "$moon_x" $((bar_y + bar_h / 2))
read -r tip_x tip_y _ < <(probe tooltip 10)
sleep 0.5
import -window root "$run/screen.png"

# The tooltip and the tray area together, with a margin, scaled up pixel for pixel.
left=$(( (tip_x < tray_x ? tip_x : tray_x) - 8 ))
top=$((tip_y - 8))
right=$((bar_x + bar_w))
bottom=$((bar_y + bar_h))
left=$((left < 0 ? 0 : left))
top=$((top < 0 ? 0 : top))
convert "$run/screen.png" -crop "$((right - left))x$((bottom - top))+${left}+${top}" +repage \
    -filter point -resize 200% "$docs/tray.png"

timeout 30 "$wine" "$run/nocturo.exe" -r || true

# The windows at their fixed moment: each is opened on the virtual desktop, reports its rectangle
# once shown, and closes itself a few seconds later; the picture is cut from the screen meanwhile.
capture_window() {
    local which="$1" out="$2" rect="$run/$1.rect"
    : >"$rect"
    "$wine" "$shots" window "$which" 4 ${3:-} </dev/null >"$rect" 2>/dev/null &
    local pid=$!
    for _ in $(seq 100); do
        [ -s "$rect" ] && break
        sleep 0.1
    done
    local x y w h
    read -r x y w h < <(tr -d '\r' <"$rect")
    sleep 1
    import -window root -crop "${w}x${h}+${x}+${y}" +repage "$out"
    wait "$pid" || true
}
capture_window moon "$docs/moon-info.png"
capture_window calendar "$docs/calendar.png"
capture_window calendar-monday "$docs/calendar-monday.png"
capture_window detail "$docs/day-detail.png"
capture_window moon "$docs/moon-info-eclipse.png" eclipse

# The calendar with the pointer on a day, and that day's tooltip: 21 March 2023 (天赦日 and
# 一粒万倍日, 春分の日; the cell's origin in the picture is (184, 282)) and 3 March 2026 (the total
# lunar eclipse; (184, 48)). The window's frame adds 4 pixels on the left and 26 above (Wine's
# caption).
capture_day_tooltip() {
    local rect="$run/notes.rect" x y w h cell_x="$2" cell_y="$3"
    : >"$rect"
    "$wine" "$shots" window calendar 8 ${4:-} </dev/null >"$rect" 2>/dev/null &
    local pid=$!
    for _ in $(seq 100); do
        [ -s "$rect" ] && break
        sleep 0.1
    done
    read -r x y w h < <(tr -d '\r' <"$rect")
    xdotool mousemove $((x + 4 + cell_x + 40)) $((y + 26 + cell_y + 30))
    sleep 0.3
    xdotool mousemove $((x + 4 + cell_x + 44)) $((y + 26 + cell_y + 34))
    sleep 2.5
    import -window root -crop "$((w + 118))x$((h + 51))+$((x - 41))+$((y - 19))" +repage "$1"
    wait "$pid" || true
}
capture_day_tooltip "$docs/calendar-notes.png" 184 282
capture_day_tooltip "$docs/calendar-eclipse.png" 184 48 eclipse

echo "screenshots: $docs/tray.png ($icons_w px of icons), $docs/splash.png," \
    "$docs/moon-info.png, $docs/calendar.png, $docs/calendar-monday.png, $docs/day-detail.png," \
    "$docs/calendar-notes.png, $docs/moon-info-eclipse.png, $docs/calendar-eclipse.png"
bash "$root/tools/editor-shots.sh" "$windows"
# The scales need a larger screen than this one: a display of their own.
"$wineserver" -k 2>/dev/null || true
bash "$root/tools/scale-shots.sh" "$windows"
# The notice on a display and a server of its own, as when run alone.
env -u NOCTURO_SHOTS_XVFB bash "$root/tools/notice-shots.sh" "$windows"
