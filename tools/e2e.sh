#!/usr/bin/env bash
# End-to-end check of nocturo.exe as a user meets it, under Wine on a private Xvfb:
#   start it in the virtual desktop "Nocturo" and see its icons appear in the tray; start it again
#   and see message 102; open the Moon information and calendar windows from the menu and the
#   icons; restart it with "-v"; stop it with "-r" and see the processes end with exit code 0 and
#   the icons gone; find the settings file written with its five default entries; start two at the
#   same moment and see one program and one message; all of it from a folder named 月暦. Then, as
#   on an English Windows (ANSI code page 1252): the program starts from such a folder, and every
#   text of its windows, read back through the wide API, and the calendar's picture are the same as
#   under code page 932, and nocturo-cli.exe takes Japanese file names for --custom and -o.
# Usage: tools/e2e.sh [WINDOWS BUILD FOLDER]   (default: build/windows)
#
# The eyes are tests/e2e/probe.cpp (nocturo_probe.exe), run under Wine beside the program: it asks
# the shell which icons it holds (NIM_MODIFY without flags succeeds exactly for an icon that is
# there), reads the message box through its controls and presses OK. Screenshots of the tray area
# before, during and after confirm that the icons were drawn and are gone again.
# A missing build, program, probe or screenshot is a failure, never a skip.
set -uo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
windows="$(cd "${1:-$root/build/windows}" 2>/dev/null && pwd)" || {
    echo "e2e: no Windows build folder ${1:-$root/build/windows}"
    echo "e2e: 0 passed, 1 failed"
    exit 1
}
run="$windows/e2e"

exe="$windows/tray/nocturo.exe"
probe="$windows/tests/e2e/nocturo_probe.exe"
dump="$windows/tests/e2e/nocturo_text_dump.exe"
cli="$windows/cli/nocturo-cli.exe"
for needed in "$exe" "$probe" "$dump" "$cli"; do
    if [ ! -f "$needed" ]; then
        echo "e2e: $needed is missing: the Windows build is incomplete"
        echo "e2e: 0 passed, 1 failed"
        exit 1
    fi
done

# Everything runs on a display of its own, the size of the virtual desktop.
if [ -z "${NOCTURO_E2E_XVFB:-}" ]; then
    NOCTURO_E2E_XVFB=1 exec timeout 600 xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$windows"
fi

source "$root/tools/wine-env.sh" && nocturo_prepare_prefix "$windows/wineprefix" || {
    echo "e2e: 0 passed, 1 failed"
    exit 1
}

# A fresh folder, named in Japanese: no settings file, no data file.
rm -rf "$run"
folder="$run/月暦"
mkdir -p "$folder"
cp "$exe" "$folder/nocturo.exe"
program="$folder/nocturo.exe"
program_win="Z:$(tr / '\\' <<<"$program")"

passed=0
failed=0
pids=()

locked=()
cleanup() {
    for dir in "${locked[@]}"; do
        chattr -i "$dir" 2>/dev/null
    done
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null
    done
    "$wineserver" -k 2>/dev/null
    "$wineserver" -w 2>/dev/null
}
trap cleanup EXIT

# check NAME COMMAND...: runs one check and counts it.
check() {
    local name="$1"
    shift
    if "$@"; then
        echo "ok      $name"
        passed=$((passed + 1))
        return 0
    fi
    echo "FAILED  $name"
    failed=$((failed + 1))
    return 1
}

# wait_exit PID SECONDS: waits for a background process; its exit code, or 124 on time-out.
wait_exit() {
    local pid="$1" limit=$(($2 * 10))
    while kill -0 "$pid" 2>/dev/null && [ "$limit" -gt 0 ]; do
        sleep 0.1
        limit=$((limit - 1))
    done
    if kill -0 "$pid" 2>/dev/null; then
        return 124
    fi
    wait "$pid"
}

exits_with_zero() {
    local rc=0
    wait_exit "$1" "$2" || rc=$?
    [ "$rc" -eq 0 ] || echo "        exit code $rc"
    [ "$rc" -eq 0 ]
}

# tray_shot FILE: the right end of the taskbar, where the notification area draws its icons.
tray_shot() {
    import -window root -crop "${tray_w}x${bar_h}+${tray_x}+${bar_y}" +repage "$1"
}

# differing_pixels A B: the number of pixels in which the two pictures differ. Fails, printing
# why, when either picture is missing or the comparison cannot run: an error text must never be
# read as a count.
differing_pixels() {
    local out rc
    for f in "$1" "$2"; do
        if [ ! -s "$f" ]; then
            echo "        screenshot $f is missing" >&2
            return 2
        fi
    done
    out="$(compare -metric AE -fuzz 2% "$1" "$2" null: 2>&1)"
    rc=$?
    # compare exits 0 for equal, 1 for different pictures, 2 when it could not compare.
    if [ "$rc" -gt 1 ] || ! [[ "$out" =~ ^[0-9]+ ]]; then
        echo "        compare failed ($rc): $out" >&2
        return 2
    fi
    echo "${out%% *}"
}

tray_differs_from_before() {
    local n
    n="$(differing_pixels "$run/tray-before.png" "$1")" || return 1
    [ "$n" != 0 ]
}

tray_as_before() {
    local n
    n="$(differing_pixels "$run/tray-before.png" "$1")" || return 1
    [ "$n" = 0 ] || echo "        $n pixels differ from the empty tray ($1)"
    [ "$n" = 0 ]
}

probe() {
    "$wine" "$probe" "$@" | tr -d '\r' | sed 's/^/        /'
    return "${PIPESTATUS[0]}"
}

# ini_section NAME: the lines of section [NAME] of the settings file, its header included.
ini_section() {
    tr -d '\r' <"$folder/nocturo.ini" | grep -v '^$' |
        awk -v want="[$1]" '/^\[/ { on = ($0 == want) } on'
}

settings_have_defaults() {
    local expected actual
    if [ ! -f "$folder/nocturo.ini" ]; then
        echo "        no nocturo.ini beside the program"
        return 1
    fi
    expected="$(printf '%s\n' '[Settings]' MoonIcon=1 TideIcon=0 MonthIcon=0 DayIcon=1 WeekDayIcon=1 ShowNotes=1)"
    actual="$(ini_section Settings)"
    [ "$actual" = "$expected" ] || printf '        nocturo.ini holds:\n%s\n' "$actual"
    [ "$actual" = "$expected" ]
}

"$wineserver" -p </dev/null >/dev/null 2>&1

# The first Wine process brings up the desktop and its taskbar; Wine closes the desktop when the
# last program on it ends, so a probe stays on it until the end to keep the same taskbar up.
"$wine" "$probe" hold 600 </dev/null >/dev/null 2>&1 &
pids+=($!)
read -r bar_x bar_y bar_w bar_h < <(probe taskbar 60) || true
check "the virtual desktop shows its taskbar" test -n "${bar_h:-}" || {
    echo "e2e: $passed passed, $failed failed"
    exit 1
}
tray_w=240
tray_x=$((bar_x + bar_w - tray_w))
tray_shot "$run/tray-before.png"

# Start: the icons of a missing settings file are the Moon (0), the day (3) and the weekday (4).
"$wine" "$program" </dev/null >/dev/null 2>&1 &
first=$!
pids+=("$first")
window=""
if seen="$(probe tray 034 30)"; then
    echo "$seen"
    window="$(awk '{print $2}' <<<"$seen")"
fi
check "first start: icons 0, 3 and 4 in the tray" test -n "$window"
sleep 2  # the splash has gone and the icons are drawn
tray_shot "$run/tray-running.png"
check "first start: icons drawn in the taskbar" tray_differs_from_before "$run/tray-running.png"

# A second start only shows message 102 and ends.
"$wine" "$program" </dev/null >/dev/null 2>&1 &
second=$!
pids+=("$second")
check "second start: message 102 with caption Nocturo" probe message "$program_win" 30
check "second start: exits with code 0" exits_with_zero "$second" 20
check "second start: the first instance keeps its icons" probe tray 034 5

# --- The windows ---
# The menu commands 40001 and 40002 and mouse clicks on the Moon icon (0) and the weekday icon (4)
# open the Moon information window (caption "Nocturo", its age in control 1110) and the calendar
# ("Moon Calendar", the age switch 1120 captioned from the string table); asking again while one
# is open opens no second one; OK closes it. The calendar keeps its age switch in nocturo.ini.
# The clicks go through Wine's tray, which reports them in the protocol version the program asked
# for. The icons 0, 3 and 4 are the drawn part of the tray: the Moon its first 16 pixels, the
# weekday its last.
read -r icons_w icons_x < <(convert "$run/tray-running.png" -fuzz 8% -trim -format '%w %X\n' info:) ||
    true
icons_left=$((tray_x + ${icons_x:-0}))
icons_mid_y=$((bar_y + bar_h / 2))
moon_click="$((icons_left + 8)),$icons_mid_y"
weekday_click="$((icons_left + ${icons_w:-0} - 8)),$icons_mid_y"
echo "        icons drawn at x $icons_left..$((icons_left + ${icons_w:-0})), y $icons_mid_y"
calendar_remembers_ages() {
    local actual
    actual="$(ini_section Calendar)"
    [ "$actual" = "$(printf '%s\n' '[Calendar]' ShowAge=1)" ] ||
        printf '        [Calendar] of nocturo.ini:\n%s\n' "$actual"
    [ "$actual" = "$(printf '%s\n' '[Calendar]' ShowAge=1)" ]
}
check "menu 40001: Moon information window, one, closed by OK" \
    probe open command 40001 Nocturo 1110 30
check "a click on the Moon icon: Moon information window" \
    probe open click "$moon_click" Nocturo 1110 30
check "menu 40002: calendar window, one, closed by OK" \
    probe open command 40002 "Moon Calendar" 1120 30
check "a click on the weekday icon: calendar window" \
    probe open click "$weekday_click" "Moon Calendar" 1120 30
check "calendar: ShowAge=1 kept in nocturo.ini" calendar_remembers_ages
# The pointer leaves the tray, where it would hold an icon's tooltip open.
xdotool mousemove 512 384
check "the windows closed: the icons stay" probe tray 034 5
# --- End of the windows ---

# "-v" closes the running instance and takes its place.
"$wine" "$program" -v </dev/null >/dev/null 2>&1 &
restarted=$!
pids+=("$restarted")
check "nocturo.exe -v: the running instance exits with code 0" exits_with_zero "$first" 30
if [ -n "$window" ]; then
    check "nocturo.exe -v: the old window is gone" probe gone "$window" 10
fi
window=""
if seen="$(probe tray 034 30)"; then
    echo "$seen"
    window="$(awk '{print $2}' <<<"$seen")"
fi
check "nocturo.exe -v: the new instance shows icons 0, 3 and 4" test -n "$window"

# "-r" closes the running instance and ends itself.
check "nocturo.exe -r: exits with code 0" timeout 30 "$wine" "$program" -r
check "running instance: exits with code 0" exits_with_zero "$restarted" 20
if [ -n "$window" ]; then
    check "running instance: window and icons gone" probe gone "$window" 10
fi
sleep 1
tray_shot "$run/tray-after.png"
check "tray area as before the start" tray_as_before "$run/tray-after.png"
check "settings file written with the five defaults" settings_have_defaults

# Two starts at the same moment: both may miss each other's window, but only one can own the
# instance mutex, so one program runs and the other shows message 102.
"$wine" "$program" </dev/null >/dev/null 2>&1 &
twin1=$!
"$wine" "$program" </dev/null >/dev/null 2>&1 &
twin2=$!
pids+=("$twin1" "$twin2")
check "two starts at once: one message 102" probe message "$program_win" 30
check "two starts at once: one program runs" probe instances 3
check "two starts at once: no second message" bash -c '! "$@" >/dev/null' _ "$wine" "$probe" message "$program_win" 2
timeout 30 "$wine" "$program" -r
check "two starts at once: the first ends with code 0" exits_with_zero "$twin1" 20
check "two starts at once: the second ends with code 0" exits_with_zero "$twin2" 20

# --- A program folder that cannot be written ---
# As in C:\Program Files for a standard user: the settings and holidays go to %APPDATA%\Nocturo,
# the files beside the program are copied there the first time, and later starts read them there.
# The folder is made immutable: root, who runs these checks, may write anywhere else.
readonly_dir="$run/readonly/月暦"
appdata="$WINEPREFIX/drive_c/users/$(whoami)/AppData/Roaming/Nocturo"
rm -rf "$appdata"
mkdir -p "$readonly_dir"
cp "$exe" "$readonly_dir/nocturo.exe"
printf '[Settings]\r\nMoonIcon=1\r\nTideIcon=1\r\nMonthIcon=0\r\nDayIcon=1\r\nWeekDayIcon=1\r\n' \
    >"$readonly_dir/nocturo.ini"
locked+=("$readonly_dir")
check "read-only folder: made immutable" chattr +i "$readonly_dir"
ini_has() {
    tr -d '\r' <"$1" | grep -qx "$2" || printf '        %s does not hold %s\n' "$1" "$2"
    tr -d '\r' <"$1" 2>/dev/null | grep -qx "$2"
}
moon_window_names_appdata() {
    local seen
    seen="$(probe open command 40001 Nocturo 1113 30)" || return 1
    echo "$seen"
    # "保存先: " in Shift_JIS opens the line.
    grep -q ': 95 db 91 b6 90 e6 3a' <<<"$seen"
}
"$wine" "$readonly_dir/nocturo.exe" </dev/null >/dev/null 2>&1 &
ro_pid=$!
pids+=("$ro_pid")
check "read-only folder: the settings beside it are read (icons 0, 1, 3, 4)" probe tray 0134 30
check "read-only folder: nocturo.ini copied to %APPDATA%\\Nocturo" \
    ini_has "$appdata/nocturo.ini" TideIcon=1
check "read-only folder: the calendar's switch saved in %APPDATA%\\Nocturo" \
    probe open command 40002 "Moon Calendar" 1120 30
check "read-only folder: ... as ShowAge=1" ini_has "$appdata/nocturo.ini" ShowAge=1
check "read-only folder: the Moon window says where the files are" moon_window_names_appdata
timeout 30 "$wine" "$readonly_dir/nocturo.exe" -r
check "read-only folder: ends with code 0" exits_with_zero "$ro_pid" 20
# The next start reads %APPDATA%\Nocturo, not the file beside the program.
sed -i 's/^WeekDayIcon=1/WeekDayIcon=0/' "$appdata/nocturo.ini"
"$wine" "$readonly_dir/nocturo.exe" </dev/null >/dev/null 2>&1 &
ro_pid=$!
pids+=("$ro_pid")
check "read-only folder: the next start reads %APPDATA%\\Nocturo (icons 0, 1, 3)" \
    probe tray 013 30
timeout 30 "$wine" "$readonly_dir/nocturo.exe" -r
check "read-only folder: ends again with code 0" exits_with_zero "$ro_pid" 20
check "read-only folder: nothing was written beside the program" \
    test "$(ls "$readonly_dir")" = "$(printf 'nocturo.exe\nnocturo.ini')"
chattr -i "$readonly_dir"

# --- Another code page ---
# As on an English Windows: the ANSI code page is 1252, in which the program's Shift_JIS bytes
# mean something else. Nothing the program shows may depend on it.
cp1252() {
    LANG=en_US.UTF-8 LC_ALL=en_US.UTF-8 "$@"
}
english="$run/cp1252/月暦"
mkdir -p "$english"
cp "$exe" "$english/nocturo.exe"
cp1252 "$wine" "$english/nocturo.exe" </dev/null >/dev/null 2>&1 &
english_pid=$!
pids+=("$english_pid")
check "code page 1252: started from 月暦, icons 0, 3 and 4 in the tray" probe tray 034 30
check "code page 1252: the Moon information window opens" \
    probe open command 40001 Nocturo 1110 30
timeout 30 "$wine" "$english/nocturo.exe" -r
check "code page 1252: ends with code 0" exits_with_zero "$english_pid" 20
# Under code page 1252 a new settings file is UTF-16, so that a place named in Japanese survives.
utf16_ini_has() {
    iconv -f UTF-16 -t UTF-8 "$1" | tr -d '\r' | grep -qx "$2"
}
check "code page 1252: settings written beside the program in 月暦, in UTF-16" \
    utf16_ini_has "$english/nocturo.ini" MoonIcon=1
# A place named in Japanese, read from that file: the Moon window's heading names it.
printf '[Place]\r\nName=札幌\r\nLatitude=43.0642\r\nLongitude=141.3469\r\n' |
    iconv -f UTF-8 -t UTF-16LE >>"$english/nocturo.ini"
moon_window_names_sapporo() {
    local seen
    probe tray 034 30 >/dev/null || return 1
    seen="$(probe open command 40001 Nocturo 1114 30)" || return 1
    echo "$seen"
    # "札幌" in Shift_JIS within the heading.
    grep -q '8e 44 96 79' <<<"$seen"
}
cp1252 "$wine" "$english/nocturo.exe" </dev/null >/dev/null 2>&1 &
english_pid=$!
pids+=("$english_pid")
check "code page 1252: the place named 札幌 in the settings file" moon_window_names_sapporo
timeout 30 "$wine" "$english/nocturo.exe" -r
check "code page 1252: ends again with code 0" exits_with_zero "$english_pid" 20

# Every window's texts and the calendar's picture at a fixed moment, under both code pages, from a
# folder named 月暦 that also holds the data file the dump saves and reads back.
dump_texts() {
    local name="$1" dir="$run/dump-$1/月暦"
    shift
    mkdir -p "$dir"
    cp "$dump" "$dir/nocturo_text_dump.exe"
    timeout 60 "$@" "$wine" "$dir/nocturo_text_dump.exe" "Z:$(tr / '\\' <<<"$run/$name.txt")" \
        "Z:$(tr / '\\' <<<"$run/$name.bmp")" </dev/null >/dev/null 2>&1
}
texts_are_japanese() {
    local word
    for word in 月齢 "Moon Calendar" 月齢を消す 会社休業日 花子の誕生日 毎月 "saved and read"; do
        grep -q "$word" "$run/cp932.txt" || {
            echo "        \"$word\" missing from $run/cp932.txt"
            return 1
        }
    done
}
same_files() {
    cmp "$1" "$2" || diff "$1" "$2" | head -20 | sed 's/^/        /'
    cmp -s "$1" "$2"
}
check "code page 932: the windows' texts read back" dump_texts cp932 env
check "code page 932: the texts are the Japanese ones" texts_are_japanese
check "code page 1252: the windows' texts read back" dump_texts cp1252 env LANG=en_US.UTF-8 LC_ALL=en_US.UTF-8
check "code page 1252: every text as under 932" same_files "$run/cp932.txt" "$run/cp1252.txt"
check "code page 1252: the calendar's picture as under 932" \
    same_files "$run/cp932.bmp" "$run/cp1252.bmp"

# nocturo-cli.exe with Japanese file names: it reads its command line in UTF-16 and opens the files
# with the wide calls, so --custom and -o work under code page 1252 as under 932 (argv alone would
# hold "?" for every Japanese character there). The holidays are the ones the dump saved.
cli_japanese_names() {
    local name="$1" dir="$run/cli-$1/月暦"
    shift
    rm -rf "$dir"
    mkdir -p "$dir"
    cp "$run/dump-cp932/月暦/nocturo.dat" "$dir/休日.dat" || return 1
    timeout 60 "$@" "$wine" "$cli" ics 2026-05-01 2026-05-31 --only custom \
        --custom "Z:$(tr / '\\' <<<"$dir/休日.dat")" -o "Z:$(tr / '\\' <<<"$dir/暦.ics")" \
        </dev/null >"$run/cli-$name.log" 2>&1 || {
        sed 's/^/        /' "$run/cli-$name.log"
        return 1
    }
    grep -q "会社休業日" "$dir/暦.ics" && grep -q "花子の誕生日" "$dir/暦.ics"
}
check "code page 932: nocturo-cli reads 休日.dat and writes 暦.ics" cli_japanese_names cp932 env
check "code page 1252: nocturo-cli reads 休日.dat and writes 暦.ics" \
    cli_japanese_names cp1252 env LANG=en_US.UTF-8 LC_ALL=en_US.UTF-8

echo "e2e: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
