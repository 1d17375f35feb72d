#!/usr/bin/env bash
# Fuzzes every reader of outside input for a bounded time: the custom-holiday data file and the
# holiday engine's use of its records, the settings values and paths, nocturo-cli's command line,
# the date and search entry points, the calendar lookups, and the tray's decision of the moment
# from any clock reading.
#   tools/fuzz.sh [SECONDS] [TARGET...]   SECONDS per target (default 10); all targets by default
#   tools/fuzz.sh 3600                    the long run: an hour per target
# Builds build/fuzz with clang and libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer, and
# runs each fuzzer from its seed corpus (tests/fuzz/corpus/TARGET) plus the inputs earlier runs
# found (build/fuzz/corpus/TARGET). A crash, a time-out, a leak or a sanitizer report fails the
# target; the input is kept in build/fuzz/findings/TARGET/ and its path printed. To keep it as a
# regression input, copy it into tests/fuzz/corpus/TARGET/: every native build replays the seed
# corpus as a test. Ends with "fuzz: N passed, M failed" and a non-zero status when any failed.
# Environment: NOCTURO_BUILD (default: build/ in the repository), NOCTURO_JOBS (default: 2): the
# build's jobs and the number of fuzzers that run at once.
set -uo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root" || exit 1
seconds="${1:-10}"
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(custom_holidays holiday_rules settings_values cli dates calendar status)
build="${NOCTURO_BUILD:-$root/build}/fuzz"
jobs="${NOCTURO_JOBS:-2}"
log="${NOCTURO_BUILD:-$root/build}/logs"

if ! [[ "$seconds" =~ ^[1-9][0-9]*$ ]]; then
    echo "fuzz: SECONDS must be a positive whole number, not '$seconds'" >&2
    exit 2
fi
# Debian's clang 14 brings libFuzzer in libclang-rt-14-dev (tools/setup.sh installs both).
cc=clang-14
cxx=clang++-14
for tool in "$cc" "$cxx" cmake python3 iconv; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "fuzz: $tool is not installed; run tools/setup.sh" >&2
        echo "fuzz: 0 passed, 1 failed"
        exit 1
    fi
done
mkdir -p "$log"

# clang keeps string literals in UTF-8: the build compiles a copy of the sources whose texts are
# Shift_JIS already, the bytes g++ gives the program.
sources="$build/src"
if ! python3 "$root/tools/fuzz_sources.py" "$root" "$sources" >"$log/fuzz-build.log" 2>&1; then
    cat "$log/fuzz-build.log"
    echo "fuzz: the sources could not be copied"
    echo "fuzz: 0 passed, ${#targets[@]} failed"
    exit 1
fi
flags="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
# Optimised a little and with line tables only, as the sanitizer build: reports keep their files
# and lines, and the build of this third copy of the core costs the test command the least.
echo "== fuzz: configure and build ($build)"
if ! { cmake -S "$sources" -B "$build/out" -DNOCTURO_WERROR=ON -DNOCTURO_FUZZ=ON \
    -DCMAKE_BUILD_TYPE=Fuzz -DCMAKE_C_FLAGS_FUZZ="-O1 -g1" -DCMAKE_CXX_FLAGS_FUZZ="-O1 -g1" \
    -DCMAKE_C_COMPILER="$cc" -DCMAKE_CXX_COMPILER="$cxx" \
    -DCMAKE_C_FLAGS="$flags" -DCMAKE_CXX_FLAGS="$flags" &&
    nice cmake --build "$build/out" -j"$jobs" $(printf -- '--target fuzz_%s ' "${targets[@]}"); } \
    >>"$log/fuzz-build.log" 2>&1; then
    grep -E -A5 'error|Error' "$log/fuzz-build.log" | head -60
    echo "fuzz: build failed (full log: $log/fuzz-build.log)"
    echo "fuzz: 0 passed, ${#targets[@]} failed"
    exit 1
fi

# A run of one input that takes longer than this is a hang. The slowest honest inputs (an
# iCalendar export of all 201 years with every kind) take a few seconds under the sanitizers.
timeout_per_input=60
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:allocator_may_return_null=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"

# run_target TARGET: one fuzzer for the time given, its output in its log; writes its line of the
# summary to build/fuzz/TARGET.result ("ok ..." or "FAILED ...").
run_target() {
    local target="$1" fuzzer seeds corpus findings rc runs cov result
    fuzzer="$build/out/tests/fuzz/fuzz_$target"
    seeds="$root/tests/fuzz/corpus/$target"
    corpus="$build/corpus/$target"
    findings="$build/findings/$target"
    result="$build/$target.result"
    if [ ! -x "$fuzzer" ] || [ ! -d "$seeds" ]; then
        echo "fuzz: $target: missing fuzzer ($fuzzer) or seed corpus ($seeds)" >&2
        printf '%-16s FAILED  missing\n' "$target" >"$result"
        return
    fi
    mkdir -p "$corpus" "$findings"
    echo "== fuzz: $target for $seconds s"
    nice "$fuzzer" -max_total_time="$seconds" -timeout="$timeout_per_input" -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$findings/" "$corpus" "$seeds" \
        >"$log/fuzz-$target.log" 2>&1
    rc=$?
    runs="$(grep -E '^stat::number_of_executed_units:' "$log/fuzz-$target.log" | awk '{print $2}')"
    # The edges and features reached, from libFuzzer's last status line ("cov: N ft: M").
    cov="$(grep -oE 'cov: [0-9]+ ft: [0-9]+' "$log/fuzz-$target.log" | tail -1)"
    # libFuzzer ends a clean run with "Done N runs"; a run without it did not finish.
    if [ "$rc" -eq 0 ] && grep -qE '^Done [0-9]+ runs' "$log/fuzz-$target.log"; then
        printf '%-16s ok      %s runs, %s, corpus %s\n' "$target" "${runs:-?}" "${cov:-cov: ?}" \
            "$(ls "$corpus" | wc -l)" >"$result"
    else
        grep -E 'ERROR|SUMMARY|broken|Test unit written|artifact' "$log/fuzz-$target.log" | head -20
        printf '%-16s FAILED  exit %s; see %s\n' "$target" "$rc" "$log/fuzz-$target.log" >"$result"
    fi
}

# The targets run $jobs at a time: each fuzzer is one process on one core, and the time given is
# each one's own, so the stage's wall time shrinks without any target getting less.
for target in "${targets[@]}"; do
    rm -f "$build/$target.result"
    while [ "$(jobs -rp | wc -l)" -ge "$jobs" ]; do
        wait -n
    done
    run_target "$target" &
done
wait

passed=0
failed=0
summary=()
for target in "${targets[@]}"; do
    line="$(cat "$build/$target.result" 2>/dev/null)"
    [ -n "$line" ] || line="$(printf '%-16s FAILED  no result' "$target")"
    summary+=("$line")
    if [[ "$line" == *" ok "* ]]; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
    fi
done
echo
for line in "${summary[@]}"; do
    echo "   $line"
done
echo "fuzz: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
