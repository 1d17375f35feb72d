#!/usr/bin/env bash
# The test command: installs whatever is missing, builds both configurations with warnings as
# errors and runs every test:
#   1. the Windows build (build/windows, mingw-w64: the release configuration of the zip, with the
#      tests) and its tests under Wine on Xvfb, the soak in a Wine prefix of its own beside them,
#      the scale tests at 120, 144 and 192 dpi;
#   2. the end-to-end check of nocturo.exe (tools/e2e.sh);
#   3. the native build (build/sanitize) with AddressSanitizer and UndefinedBehaviorSanitizer, and
#      every native test under them;
#   4. a short fuzzing run of every reader of outside input (tools/fuzz.sh, 10 s a target);
#   5. the Windows zip (tools/package-check.sh on build/windows): made twice and compared, its
#      entries, checksums and the programs' version resources checked.
# The native side (3, 4) runs from the start beside the Windows build and its tests (1, 2): Wine
# spends much of its time waiting for windows and servers, and the native side runs at a lower
# priority, so that the two cores are kept busy without slowing the Windows side down. Every stage runs even when an
# earlier one failed; the exit status is non-zero when any failed.
#   tools/test.sh           everything, as CI runs it
#   tools/test.sh --quick   while working: the plain native build (build/native), rebuilt only
#                           where a change touched it, and the native tests; no Wine, no
#                           sanitizers, no fuzzing, no zip
# Environment: NOCTURO_BUILD (default: build/ in the repository), NOCTURO_JOBS (default: 2),
# NOCTURO_FUZZ_SECONDS (default: 10).
set -uo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root" || exit 1
build="${NOCTURO_BUILD:-$root/build}"
jobs="${NOCTURO_JOBS:-2}"
native="$build/native"
windows="$build/windows"
sanitize="$build/sanitize"
prefix="$windows/wineprefix"
log="$build/logs"
results="$log/results"

quick=no
case "${1:-}" in
"") ;;
--quick) quick=yes ;;
*)
    echo "usage: tools/test.sh [--quick]" >&2
    exit 2
    ;;
esac

bash tools/setup.sh || {
    echo "test: setup failed"
    exit 1
}
source tools/wine-env.sh || exit 1
mkdir -p "$log"
rm -rf "$results"
mkdir -p "$results"
start_all=$SECONDS

# record KEY STAGE STATUS PASSED FAILED DETAIL: the result of one stage, kept in a file so that
# stages running beside each other can report; KEY orders the summary.
record() {
    printf '%s\t%s\t%s\t%s\t%s\n' "$2" "$3" "$4" "$5" "$6" >"$results/$1"
}

# ctest_result KEY STAGE LOG EXIT SECONDS: the counts of a ctest run, read from its closing line
# ("N% tests passed, F tests failed out of T"). A run that failed without failing a test (a crash
# of ctest, a time-out) counts as one failure, and so does a run that found no tests: a build that
# lost its tests must not pass.
ctest_result() {
    local key="$1" stage="$2" file="$3" rc="$4" secs="$5" line total fail
    line="$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$file" | tail -1)"
    if [ -z "$line" ]; then
        record "$key" "$stage" FAILED 0 1 "ctest did not finish (exit $rc)"
        return
    fi
    total="$(sed -E 's/.*out of ([0-9]+).*/\1/' <<<"$line")"
    fail="$(sed -E 's/.* ([0-9]+) tests? failed.*/\1/' <<<"$line")"
    local extra=0
    [ "$rc" -eq 0 ] || [ "$fail" -ne 0 ] || extra=1
    record "$key" "$stage" "$([ "$rc" -eq 0 ] && echo ok || echo FAILED)" $((total - fail)) \
        $((fail + extra)) "$((total - fail)) passed, $fail failed, $secs s"
}

# counted_result KEY STAGE PREFIX LOG EXIT SECONDS: the counts of a script that closes with
# "PREFIX: N passed, M failed" (the end-to-end check, the fuzzers, the zip). A script that failed
# without counting a failure, or printed no such line, counts as one failure.
counted_result() {
    local key="$1" stage="$2" prefix="$3" file="$4" rc="$5" secs="$6" line p f
    line="$(grep -E "^$prefix: [0-9]+ passed, [0-9]+ failed" "$file" | tail -1)"
    if [ -z "$line" ]; then
        record "$key" "$stage" FAILED 0 1 "no result (exit $rc)"
        return
    fi
    p="$(sed -E "s/$prefix: ([0-9]+) passed.*/\\1/" <<<"$line")"
    f="$(sed -E 's/.* ([0-9]+) failed.*/\1/' <<<"$line")"
    [ "$rc" -eq 0 ] || [ "$f" -gt 0 ] || f=$((f + 1))
    record "$key" "$stage" "$([ "$rc" -eq 0 ] && echo ok || echo FAILED)" "$p" "$f" \
        "$p passed, $f failed, $secs s"
}

# build KEY NAME DIR [CMAKE ARGUMENTS...]: configures and builds one configuration.
build() {
    local key="$1" name="$2" dir="$3" t=$SECONDS
    shift 3
    echo "== $name: configure and build ($dir)"
    if cmake -S "$root" -B "$dir" -DNOCTURO_WERROR=ON "$@" >"$log/$name-build.log" 2>&1 &&
        cmake --build "$dir" -j"$jobs" >>"$log/$name-build.log" 2>&1; then
        record "$key" "$name build" ok 0 0 "$((SECONDS - t)) s"
        return 0
    fi
    grep -E -A5 'error|Error' "$log/$name-build.log" | head -80
    echo "(full log: $log/$name-build.log)"
    record "$key" "$name build" FAILED 0 1 "see $log/$name-build.log"
    return 1
}

# native_tests KEY STAGE DIR [ENVIRONMENT...]: every native test of a build folder.
native_tests() {
    local key="$1" stage="$2" dir="$3" t=$SECONDS
    shift 3
    echo "== $stage"
    env "$@" ctest --test-dir "$dir" --output-on-failure --no-tests=error -j"$jobs" \
        >"$log/$key-ctest.log" 2>&1
    local rc=$?
    grep -E '^ *[0-9]+/[0-9]+ Test|tests passed|Failed|\*\*\*' "$log/$key-ctest.log"
    ctest_result "$key" "$stage" "$log/$key-ctest.log" "$rc" $((SECONDS - t))
}

# summary: the table of every stage and the closing count; the exit status says whether all passed.
summary() {
    local passed=0 failed=0 file stage status p f detail
    echo
    echo "== summary ($((SECONDS - start_all)) s; logs in $log)"
    for file in "$results"/*; do
        [ -f "$file" ] || continue
        IFS=$'\t' read -r stage status p f detail <"$file"
        printf '   %-16s %-7s %s\n' "$stage" "$status" "$detail"
        passed=$((passed + p))
        failed=$((failed + f))
    done
    echo "test: $passed passed, $failed failed"
    [ "$failed" -eq 0 ]
}

if [ "$quick" = yes ]; then
    if build 1 native "$native" -DNOCTURO_BENCHMARKS=OFF; then
        native_tests 2 "native tests" "$native"
    fi
    summary
    exit
fi

# wine_session PREFIX LOG COMMAND...: runs COMMAND (a ctest) on a display of its own with one Wine
# server and one desktop with its tray for PREFIX: they start once, not once per test, and end with
# the run so that nothing outlives it. Wine's own services and the desktop are started here with no
# output attached: started by a test, they would inherit its output pipe and CTest would wait for
# them.
wine_session() {
    local session_prefix="$1" out="$2"
    shift 2
    NOCTURO_WINEPREFIX="$session_prefix" timeout 1800 xvfb-run -a -s "-screen 0 1280x1024x24" \
        bash -c '
                source tools/wine-env.sh && nocturo_wine_env "$NOCTURO_WINEPREFIX" || exit 1
                probe="$1"
                shift
                "$wineserver" -p </dev/null >/dev/null 2>&1
                "$wine" "$probe" hold 1800 </dev/null >/dev/null 2>&1 &
                "$wine" "$probe" taskbar 60 </dev/null >/dev/null 2>&1
                "$@"
                rc=$?
                "$wineserver" -k 2>/dev/null
                "$wineserver" -w 2>/dev/null
                exit $rc' _ "$probe" "$@" >"$out" 2>&1
    local rc=$?
    # Also after a time-out: no Wine process of this prefix outlives the run.
    WINEPREFIX="$session_prefix" "$wineserver" -k 2>/dev/null
    return $rc
}

# --- the Windows side: its tests, the soak beside them, the scale tests, the end-to-end check ---
windows_side() {
    local t soak_pid
    echo "== windows: tests under Wine (log: $log/windows-ctest.log)"
    t=$SECONDS
    probe="$(find "$windows" -name nocturo_probe.exe | head -1)"
    if [ -z "$probe" ]; then
        record 11 "windows tests" FAILED 0 1 "nocturo_probe.exe was not built"
    elif ! { nocturo_prepare_prefix "$prefix" && nocturo_prepare_prefix "$prefix-soak" "$prefix"; } \
        >"$log/windows-prefix.log" 2>&1; then
        record 11 "windows tests" FAILED 0 1 "the Wine prefixes could not be made"
    else
        # The soak counts the objects of its whole Wine session, so it has a prefix, a server and
        # a tray of its own (a copy of the build's prefix), and runs beside everything below.
        (
            ts=$SECONDS
            wine_session "$prefix-soak" "$log/soak-ctest.log" \
                ctest --test-dir "$windows" --output-on-failure --no-tests=error \
                -R "^win_soak_tests$"
            ctest_result 12 "soak" "$log/soak-ctest.log" "$?" $((SECONDS - ts))
        ) &
        soak_pid=$!
        # xvfb-run -a takes the first free display number: give the soak's a moment to claim it.
        sleep 3

        # Two at a time: the tests of windows take the desktop in turn (their RESOURCE_LOCK), the
        # core's tests run beside them.
        wine_session "$prefix" "$log/windows-ctest.log" \
            ctest --test-dir "$windows" --output-on-failure --no-tests=error -j2 \
            -E "^win_(scale|soak)_tests$"
        ctest_result 11 "windows tests" "$log/windows-ctest.log" "$?" $((SECONDS - t))

        # The scale tests start a server per dpi in the build's prefix (tools/wine-dpi-run.sh).
        t=$SECONDS
        timeout 900 ctest --test-dir "$windows" --output-on-failure --no-tests=error \
            -R "^win_scale_tests$" >"$log/scale-ctest.log" 2>&1
        ctest_result 13 "scale tests" "$log/scale-ctest.log" "$?" $((SECONDS - t))
        WINEPREFIX="$prefix" "$wineserver" -k 2>/dev/null
    fi

    echo "== end-to-end check (log: $log/e2e.log)"
    t=$SECONDS
    bash tools/e2e.sh "$windows" >"$log/e2e.log" 2>&1
    counted_result 14 "end-to-end" e2e "$log/e2e.log" "$?" $((SECONDS - t))
    [ -z "${soak_pid:-}" ] || wait "$soak_pid"
}

# --- the native side: the sanitizer build, its tests and the fuzzers ---
# Every native test runs once, with AddressSanitizer (out-of-bounds, use after free, leaks) and
# UndefinedBehaviorSanitizer (overflow, shifts, bad conversions); the first report ends the test.
# Optimised a little and with line tables only: the reports keep their files and lines, and the
# build takes about half the time of the usual -O2 -g.
native_side() {
    local sanitizers="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
    if build 21 "native" "$sanitize" -DCMAKE_BUILD_TYPE=Sanitize \
        -DCMAKE_C_FLAGS_SANITIZE="-O1 -g1" -DCMAKE_CXX_FLAGS_SANITIZE="-O1 -g1" \
        -DCMAKE_C_FLAGS="$sanitizers" -DCMAKE_CXX_FLAGS="$sanitizers" \
        -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined"; then
        native_tests 22 "native tests" "$sanitize" ASAN_OPTIONS="detect_leaks=1:abort_on_error=0" \
            UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
    fi

    echo "== fuzz: every target for ${NOCTURO_FUZZ_SECONDS:-10} s (log: $log/fuzz.log)"
    local t=$SECONDS
    bash tools/fuzz.sh "${NOCTURO_FUZZ_SECONDS:-10}" >"$log/fuzz.log" 2>&1
    counted_result 31 "fuzz" fuzz "$log/fuzz.log" "$?" $((SECONDS - t))
}

# The native side starts at once, at a lower priority: it fills the cores wherever the Windows
# build leaves one idle (its links and generated pictures run one at a time) and wherever Wine
# waits for its windows and servers.
(
    renice -n 10 "$BASHPID" >/dev/null
    native_side
) &
native_pid=$!
if build 10 windows "$windows" -C "$root/tools/windows-build.cmake" \
    -DCMAKE_TOOLCHAIN_FILE="$root/tools/mingw-w64.cmake"; then
    windows_side
    wait "$native_pid"

    # --- package: the tested programs themselves, zipped twice ---
    echo "== package: the Windows zip, made twice and compared (log: $log/package.log)"
    t=$SECONDS
    bash tools/package-check.sh "$build" "$windows" >"$log/package.log" 2>&1
    counted_result 41 "package" package "$log/package.log" "$?" $((SECONDS - t))
    grep -E '^(ok|FAILED) ' "$log/package.log" | grep -v '^ok' || true
else
    wait "$native_pid"
fi

for stage_log in windows-ctest soak-ctest scale-ctest e2e 22-ctest fuzz package; do
    [ -f "$log/$stage_log.log" ] || continue
    if grep -qE '^FAILED | [1-9][0-9]* tests? failed out of|\*\*\*Failed|Test +#.*Failed' \
        "$log/$stage_log.log"; then
        echo "== failures in $log/$stage_log.log:"
        grep -E '^FAILED |\*\*\*Failed|Failed  | [1-9][0-9]* tests? failed out of' \
            "$log/$stage_log.log" | head -40
    fi
done
summary
