#!/usr/bin/env bash
# Makes the zip for Windows users: a release build of the Windows configuration (nocturo.exe and
# nocturo-cli.exe only, no tests) and dist/nocturo-VERSION-windows-x64.zip holding, in this order,
# nocturo.exe, nocturo-cli.exe, はじめにお読みください.txt, LICENSE and SHA256SUMS.
#   tools/package.sh [--build DIR] [--out DIR]
#     --build DIR   the release build folder (default: build/release in the repository)
#     --out DIR     where the zip goes (default: dist/ in the repository)
# The same commit gives the same bytes, from any folder: file names in the code are relative
# (NOCTURO_REPRODUCIBLE), the linker writes no time stamp, the executables are stripped, and the
# zip's entries carry the time of the last commit and fixed attributes. Needs a git checkout and
# the tools of tools/setup.sh; fails with a message when anything is missing.
# Environment: NOCTURO_JOBS (default: 2).
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$root/build/release"
out="$root/dist"
jobs="${NOCTURO_JOBS:-2}"

fail() {
    echo "package: $*" >&2
    exit 1
}

while [ $# -gt 0 ]; do
    case "$1" in
    --build) build="${2:?--build needs a folder}"; shift 2 ;;
    --out) out="${2:?--out needs a folder}"; shift 2 ;;
    *) fail "unknown argument: $1 (usage: tools/package.sh [--build DIR] [--out DIR])" ;;
    esac
done

for tool in cmake git python3 x86_64-w64-mingw32-g++-posix x86_64-w64-mingw32-windres; do
    command -v "$tool" >/dev/null 2>&1 || fail "$tool is missing (run tools/setup.sh)"
done

# Every time in the build and the zip is the last commit's, so that a rebuild tomorrow matches.
SOURCE_DATE_EPOCH="$(git -C "$root" log -1 --format=%ct 2>/dev/null)" ||
    fail "$root is not a git checkout with a commit: the zip's time comes from the last commit"
export SOURCE_DATE_EPOCH
if [ -n "$(git -C "$root" status --porcelain --untracked-files=no)" ]; then
    echo "package: warning: uncommitted changes; the zip is not the last commit's" >&2
fi

# Release at -O2, the optimisation the tests run at; no -g, and -s strips the symbol table
# (tools/windows-build.cmake). A folder configured with the tests, as tools/test.sh leaves
# build/windows, keeps them: its programs are the same bytes and need no second build.
testing=OFF
if grep -q '^BUILD_TESTING:BOOL=ON$' "$build/CMakeCache.txt" 2>/dev/null; then
    testing=ON
fi
echo "== package: release build ($build)"
cmake -S "$root" -B "$build" -C "$root/tools/windows-build.cmake" \
    -DCMAKE_TOOLCHAIN_FILE="$root/tools/mingw-w64.cmake" \
    -DBUILD_TESTING="$testing" -DNOCTURO_WERROR=ON >/dev/null ||
    fail "configuring $build failed"
cmake --build "$build" --target nocturo nocturo-cli -j"$jobs" >/dev/null ||
    fail "building nocturo.exe and nocturo-cli.exe failed (cmake --build $build shows why)"

version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")"
[ -n "$version" ] || fail "no project version in $build/CMakeCache.txt"

zip="$out/nocturo-$version-windows-x64.zip"
mkdir -p "$out" || fail "cannot make $out"
python3 "$root/tools/package_zip.py" "$zip" "$SOURCE_DATE_EPOCH" \
    "$build/tray/nocturo.exe" "$build/cli/nocturo-cli.exe" \
    "$root/docs/guide-ja.txt" "$root/LICENSE" || fail "writing $zip failed"
echo "package: $zip"
