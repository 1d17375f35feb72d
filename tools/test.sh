#!/usr/bin/env bash
# The test command: installs whatever is missing, builds both configurations with warnings as
# errors and runs every test:
#   1. native build (build/native) and its tests;
#   2. Windows build (build/windows, mingw-w64) and its tests under Wine on Xvfb;
#   3. the end-to-end check of nocturo.exe (tools/e2e.sh);
#   4. the native tests again under AddressSanitizer and UndefinedBehaviorSanitizer (build/sanitize);
#   5. a short fuzzing run of every reader of outside input (tools/fuzz.sh, 10 s a target);
#   6. the Windows zip (build/release, tools/package-check.sh): made twice and compared, its
#      entries, checksums and the programs' version resources checked.
# Every stage runs even when an earlier one failed; the exit status is non-zero when any failed.
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

bash tools/setup.sh || {
    echo "test: setup failed"
    exit 1
}
source tools/wine-env.sh || exit 1
mkdir -p "$log"

passed=0
failed=0
report=()
start_all=$SECONDS

# note STAGE RESULT [DETAIL]: remembers one line of the summary.
note() {
    report+=("$(printf '%-16s %-7s %s' "$1" "$2" "${3:-}")")
}

# ctest_result STAGE LOG EXIT SECONDS: adds the counts of a ctest run, read from its closing line
# ("N% tests passed, F tests failed out of T"), to the totals. A run that failed without failing a
# test (a crash of ctest, a time-out) counts as one failure, and so does a run that found no tests:
# a build that lost its tests must not pass.
ctest_result() {
    local stage="$1" file="$2" rc="$3" secs="$4" line total fail
    line="$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$file" | tail -1)"
    if [ -n "$line" ]; then
        total="$(sed -E 's/.*out of ([0-9]+).*/\1/' <<<"$line")"
        fail="$(sed -E 's/.* ([0-9]+) tests? failed.*/\1/' <<<"$line")"
        passed=$((passed + total - fail))
        failed=$((failed + fail))
        if [ "$rc" -ne 0 ] && [ "$fail" -eq 0 ]; then
            failed=$((failed + 1))
        fi
        note "$stage" "$([ "$rc" -eq 0 ] && echo ok || echo FAILED)" \
            "$((total - fail)) passed, $fail failed, $secs s"
    else
        failed=$((failed + 1))
        note "$stage" FAILED "ctest did not finish (exit $rc)"
    fi
}

# counted_result STAGE PREFIX LOG EXIT SECONDS: adds the counts of a script that closes with
# "PREFIX: N passed, M failed" (the end-to-end check, the fuzzers). A script that failed without
# counting a failure, or printed no such line, counts as one failure.
counted_result() {
    local stage="$1" prefix="$2" file="$3" rc="$4" secs="$5" line p f
    line="$(grep -E "^$prefix: [0-9]+ passed, [0-9]+ failed" "$file" | tail -1)"
    if [ -z "$line" ]; then
        failed=$((failed + 1))
        note "$stage" FAILED "no result (exit $rc)"
        return
    fi
    p="$(sed -E "s/$prefix: ([0-9]+) passed.*/\\1/" <<<"$line")"
    f="$(sed -E 's/.* ([0-9]+) failed.*/\1/' <<<"$line")"
    passed=$((passed + p))
    failed=$((failed + f))
    [ "$rc" -eq 0 ] || [ "$f" -gt 0 ] || failed=$((failed + 1))
    note "$stage" "$([ "$rc" -eq 0 ] && echo ok || echo FAILED)" "$p passed, $f failed, $secs s"
}

# build NAME DIR [CMAKE ARGUMENTS...]: configures and builds one configuration.
build() {
    local name="$1" dir="$2" t=$SECONDS
    shift 2
    echo "== $name: configure and build ($dir)"
    if cmake -S "$root" -B "$dir" -DNOCTURO_WERROR=ON "$@" >"$log/$name-build.log" 2>&1 &&
        cmake --build "$dir" -j"$jobs" >>"$log/$name-build.log" 2>&1; then
        note "$name build" ok "$((SECONDS - t)) s"
        return 0
    fi
    grep -E -A5 'error|Error' "$log/$name-build.log" | head -80
    echo "(full log: $log/$name-build.log)"
    failed=$((failed + 1))
    note "$name build" FAILED "see $log/$name-build.log"
    return 1
}

# --- native ---
if build native "$native"; then
    echo "== native: tests"
    t=$SECONDS
    ctest --test-dir "$native" --output-on-failure --no-tests=error -j"$jobs" 2>&1 |
        tee "$log/native-ctest.log"
    ctest_result "native tests" "$log/native-ctest.log" "${PIPESTATUS[0]}" $((SECONDS - t))
fi

# --- Windows ---
if build windows "$windows" -DCMAKE_TOOLCHAIN_FILE="$root/tools/mingw-w64.cmake"; then
    echo "== windows: tests under Wine"
    t=$SECONDS
    probe="$(find "$windows" -name nocturo_probe.exe | head -1)"
    if [ -z "$probe" ]; then
        failed=$((failed + 1))
        note "windows tests" FAILED "nocturo_probe.exe was not built"
    elif ! nocturo_prepare_prefix "$prefix"; then
        failed=$((failed + 1))
        note "windows tests" FAILED "the Wine prefix could not be made"
    else
        # One display, one Wine server and one desktop for the whole run: they start once, not
        # once per test, and end with the run so that nothing outlives it. Wine's own services and
        # the desktop are started here with no output attached: started by a test, they would
        # inherit its output pipe and CTest would wait for them. Serially: the tests share the
        # one desktop and tray.
        NOCTURO_WINEPREFIX="$prefix" timeout 1800 xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
                source tools/wine-env.sh && nocturo_wine_env "$NOCTURO_WINEPREFIX" || exit 1
                "$wineserver" -p </dev/null >/dev/null 2>&1
                "$wine" "$2" hold 1800 </dev/null >/dev/null 2>&1 &
                "$wine" "$2" taskbar 60 </dev/null >/dev/null 2>&1
                ctest --test-dir "$1" --output-on-failure --no-tests=error
                rc=$?
                "$wineserver" -k 2>/dev/null
                "$wineserver" -w 2>/dev/null
                exit $rc' _ "$windows" "$probe" 2>&1 | tee "$log/windows-ctest.log"
        ctest_result "windows tests" "$log/windows-ctest.log" "${PIPESTATUS[0]}" $((SECONDS - t))
        # Also after a time-out: no Wine process of this prefix outlives the stage.
        WINEPREFIX="$prefix" "$wineserver" -k 2>/dev/null
    fi

    # --- end to end ---
    echo "== end-to-end check"
    t=$SECONDS
    bash tools/e2e.sh "$windows" 2>&1 | tee "$log/e2e.log"
    counted_result "end-to-end" e2e "$log/e2e.log" "${PIPESTATUS[0]}" $((SECONDS - t))
fi

# --- native under the sanitizers ---
# Every native test again with AddressSanitizer (out-of-bounds, use after free, leaks) and
# UndefinedBehaviorSanitizer (overflow, shifts, bad conversions); the first report ends the test.
sanitizers="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
# Optimised a little and with line tables only: the reports keep their files and lines, and the
# build takes about half the time of the usual -O2 -g. The benchmarks are not built.
if build sanitize "$sanitize" -DCMAKE_BUILD_TYPE=Sanitize -DCMAKE_C_FLAGS_SANITIZE="-O1 -g1" \
    -DCMAKE_CXX_FLAGS_SANITIZE="-O1 -g1" -DNOCTURO_BENCHMARKS=OFF \
    -DCMAKE_C_FLAGS="$sanitizers" -DCMAKE_CXX_FLAGS="$sanitizers" \
    -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined"; then
    echo "== sanitize: tests"
    t=$SECONDS
    ASAN_OPTIONS="detect_leaks=1:abort_on_error=0" UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1" \
        ctest --test-dir "$sanitize" --output-on-failure --no-tests=error -j"$jobs" 2>&1 |
        tee "$log/sanitize-ctest.log"
    ctest_result "sanitize tests" "$log/sanitize-ctest.log" "${PIPESTATUS[0]}" $((SECONDS - t))
fi

# --- fuzzing ---
echo "== fuzz: every target for ${NOCTURO_FUZZ_SECONDS:-10} s"
t=$SECONDS
bash tools/fuzz.sh "${NOCTURO_FUZZ_SECONDS:-10}" 2>&1 | tee "$log/fuzz.log"
counted_result "fuzz" fuzz "$log/fuzz.log" "${PIPESTATUS[0]}" $((SECONDS - t))

# --- package ---
echo "== package: the Windows zip, made twice and compared"
t=$SECONDS
bash tools/package-check.sh "$build" 2>&1 | tee "$log/package.log"
counted_result "package" package "$log/package.log" "${PIPESTATUS[0]}" $((SECONDS - t))

echo
echo "== summary ($((SECONDS - start_all)) s; logs in $log)"
for line in "${report[@]}"; do
    echo "   $line"
done
echo "test: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
