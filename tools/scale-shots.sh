#!/usr/bin/env bash
# Makes the README's pictures of the program at the system scales, from the real program under
# Wine, the build's prefix set to each dpi in turn (LogPixels, the virtual desktop grown with the
# scale) and put back to 96 at the end:
#   docs/tray-scales.png     Wine's tray with the five icons at 96, 120, 144 and 192 dpi (16, 20,
#                            24 and 32 pixels), side by side, shown twice the size pixel for pixel;
#   docs/calendar-144dpi.png the calendar window on the screen at 144 dpi, at the fixed moment of
#                            tools/shots/window_shots.cpp (15 March 2023, 12:00 in Japan).
# Usage: tools/scale-shots.sh [WINDOWS BUILD FOLDER]   (default: build/windows, already built;
# tools/screenshots.sh builds it and calls this at its end)
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
windows="${1:-$root/build/windows}"
docs="$root/docs"

if [ -z "${NOCTURO_SCALE_XVFB:-}" ]; then
    windows="$(cd "$windows" && pwd)"
    # Room for the desktop of 192 dpi, twice 1024 x 768.
    NOCTURO_SCALE_XVFB=1 exec timeout 600 xvfb-run -a -s "-screen 0 2048x1536x24" \
        bash "$root/tools/scale-shots.sh" "$windows"
fi

export TZ=Asia/Tokyo
source "$root/tools/wine-env.sh"
nocturo_prepare_prefix "$windows/wineprefix"
base="$WINEPREFIX"

exe="$windows/tray/nocturo.exe"
probe="$windows/tests/e2e/nocturo_probe.exe"
shots="$windows/tools/shots/nocturo-window-shots.exe"
for needed in "$exe" "$probe" "$shots"; do
    [ -f "$needed" ] || {
        echo "scale-shots: $needed is missing" >&2
        exit 1
    }
done
run="$windows/scale-shots"
rm -rf "$run"
mkdir -p "$run" "$docs"
cp "$exe" "$run/nocturo.exe"
printf '[Settings]\r\nMoonIcon=1\r\nTideIcon=1\r\nMonthIcon=1\r\nDayIcon=1\r\nWeekDayIcon=1\r\n' \
    >"$run/nocturo.ini"

probe() {
    "$wine" "$probe" "$@" | tr -d '\r'
    return "${PIPESTATUS[0]}"
}

# use_dpi DPI: the prefix at this dpi and a server of its own for what follows.
use_dpi() {
    nocturo_set_dpi "$base" "$1" || {
        echo "scale-shots: could not set $1 dpi" >&2
        exit 1
    }
    export WINEPREFIX="$base"
    "$wineserver" -p </dev/null >/dev/null 2>&1
}

end_dpi() {
    "$wineserver" -k 2>/dev/null || true
    "$wineserver" -w 2>/dev/null || true
}
trap 'end_dpi; nocturo_set_dpi "$base" 96' EXIT

# The icons at the right end of the taskbar, cut out with the bar's own colour trimmed away.
for dpi in 96 120 144 192; do
    use_dpi "$dpi"
    read -r bar_x bar_y bar_w bar_h < <(probe taskbar 60)
    "$wine" "$run/nocturo.exe" </dev/null >/dev/null 2>&1 &
    probe tray 01234 30 >/dev/null
    sleep 3
    width=$((240 * dpi / 96))
    import -window root -crop "${width}x${bar_h}+$((bar_x + bar_w - width))+${bar_y}" +repage \
        "$run/bar-$dpi.png"
    convert "$run/bar-$dpi.png" -fuzz 8% -trim +repage -bordercolor '#d4d0c8' -border 6 \
        "$run/tray-$dpi.png"
    echo "scale-shots: $dpi dpi: icons $(identify -format '%wx%h' "$run/tray-$dpi.png")" \
        "(with a 6-pixel border)"
    timeout 30 "$wine" "$run/nocturo.exe" -r || true
    end_dpi
done
convert "$run/tray-96.png" "$run/tray-120.png" "$run/tray-144.png" "$run/tray-192.png" \
    -gravity east -background white -splice 12x0 -gravity south +append -filter point \
    -resize 200% \
    "$docs/tray-scales.png"

# The calendar window on the screen at 144 dpi: opened, its rectangle reported, cut from the screen.
use_dpi 144
rect="$run/calendar.rect"
: >"$rect"
"$wine" "$shots" window calendar 4 </dev/null >"$rect" 2>/dev/null &
pid=$!
for _ in $(seq 150); do
    [ -s "$rect" ] && break
    sleep 0.1
done
read -r x y w h < <(tr -d '\r' <"$rect")
# The pointer out of the way (the new desktop puts it in the middle): resting on a day, it would
# show that day's tooltip in the picture.
xdotool mousemove 0 0
sleep 1
import -window root -crop "${w}x${h}+${x}+${y}" +repage "$docs/calendar-144dpi.png"
wait "$pid" || true
end_dpi

echo "scale-shots: $docs/tray-scales.png, $docs/calendar-144dpi.png (${w}x${h})"
