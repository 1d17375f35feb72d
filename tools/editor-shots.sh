#!/usr/bin/env bash
# Makes the README's pictures of the custom holiday dialogs in docs/ from the real dialogs under
# Wine, on a few sample records held in memory (no data file is touched):
#   docs/holidays.png        the list, the company's day off by weekday rule selected;
#   docs/holiday-editor.png  the editor opened on that record;
#   docs/place.png           the place dialog on the office of 大阪府;
#   docs/notice-settings.png the notice settings dialog on the defaults.
# Usage: tools/editor-shots.sh [WINDOWS BUILD FOLDER]   (default: build/windows; built if needed)
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
windows="${1:-$root/build/windows}"
docs="$root/docs"

if [ ! -f "$windows/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$windows" -C "$root/tools/windows-build.cmake" \
        -DCMAKE_TOOLCHAIN_FILE="$root/tools/mingw-w64.cmake" >/dev/null
fi
nice cmake --build "$windows" -j"${NOCTURO_JOBS:-2}" --target nocturo_holiday_shots >/dev/null
windows="$(cd "$windows" && pwd)"
shots="$(find "$windows" -name nocturo_holiday_shots.exe | head -1)"

run="$windows/editor-shots"
rm -rf "$run"
mkdir -p "$run" "$docs"
winpath() { printf 'Z:%s' "$(tr / '\\' <<<"$1")"; }
timeout 120 "$root/tools/wine-run.sh" "$shots" "$(winpath "$run/list.bmp")" \
    "$(winpath "$run/editor.bmp")" "$(winpath "$run/place.bmp")" "$(winpath "$run/notice.bmp")"
convert "$run/list.bmp" "$docs/holidays.png"
convert "$run/editor.bmp" "$docs/holiday-editor.png"
convert "$run/place.bmp" "$docs/place.png"
convert "$run/notice.bmp" "$docs/notice-settings.png"
echo "editor-shots: $docs/holidays.png, $docs/holiday-editor.png, $docs/place.png," \
    "$docs/notice-settings.png"
