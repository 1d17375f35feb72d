#!/usr/bin/env bash
# The package stage of the test command: makes the Windows zip twice with tools/package.sh (one
# release build, the zip step run twice into two folders), compares the bytes, and checks what is
# inside: the five entries in order, without extra fields and with the last commit's time, the
# checksums, the guide's byte-order mark and line ends, the version resources of both programs,
# the Moon window's version line, and no build folder's path in either program.
#   tools/package-check.sh [BUILD [RELEASE]]
#     BUILD     default build/ in the repository; the zips go to BUILD/package-check
#     RELEASE   the release build folder (default BUILD/release); the test command passes its
#               Windows build, whose programs are those it has just tested
# Closes with "package: N passed, M failed"; the exit status is non-zero when any check failed.
set -uo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root" || exit 1
build="${1:-$root/build}"
release="${2:-$build/release}"
work="$build/package-check"
passed=0
failed=0

# check NAME COMMAND...: one counted check; its output is shown only when it fails.
check() {
    local label="$1" output
    shift
    if output="$("$@" 2>&1)"; then
        passed=$((passed + 1))
        echo "ok      $label"
    else
        failed=$((failed + 1))
        echo "FAILED  $label"
        [ -z "$output" ] || sed 's/^/        /' <<<"$output"
    fi
}

finish() {
    echo "package: $passed passed, $failed failed"
    [ "$failed" -eq 0 ]
    exit
}

# The version as the source declares it, read here on its own rather than from the build.
version="$(sed -n 's/^project(Nocturo VERSION \([0-9]*\.[0-9]*\.[0-9]*\).*/\1/p' CMakeLists.txt)"
numbers="$(tr . , <<<"$version" | sed 's/,/, /g'), 0"
name="nocturo-$version-windows-x64.zip"
rm -rf "$work"
mkdir -p "$work/a" "$work/b" "$work/unzipped"

check "version declared in CMakeLists.txt ($version)" test -n "$version"
check "package made" bash tools/package.sh --build "$release" --out "$work/a"
check "package made again" bash tools/package.sh --build "$release" --out "$work/b"
check "zip named $name" test -s "$work/a/$name"
[ -s "$work/a/$name" ] && [ -s "$work/b/$name" ] || finish
check "the two zips are the same bytes" cmp "$work/a/$name" "$work/b/$name"

# Entries by Python's own reader: the order, no extra fields, the commit's time, fixed modes.
entries() {
    python3 - "$work/a/$name" "$(git log -1 --format=%ct)" <<'PY'
import sys, time, zipfile
expected = ["nocturo.exe", "nocturo-cli.exe", "はじめにお読みください.txt", "LICENSE", "SHA256SUMS"]
infos = zipfile.ZipFile(sys.argv[1]).infolist()
names = [i.filename for i in infos]
assert names == expected, "entries %s" % names
when = time.gmtime(max(int(sys.argv[2]), 315532800))[:6]
when = when[:5] + (when[5] - when[5] % 2,)  # DOS times count seconds in twos
for i in infos:
    assert i.extra == b"", "%s has extra fields" % i.filename
    assert i.date_time == when, "%s dated %s, not %s" % (i.filename, i.date_time, when)
    assert i.external_attr >> 16 in (0o100644, 0o100755), "%s mode %o" % (i.filename, i.external_attr >> 16)
PY
}
check "five entries in order, no extra fields, the commit's time" entries

check "unzipped" unzip -q "$work/a/$name" -d "$work/unzipped"
cd "$work/unzipped" || finish
check "sha256sum -c SHA256SUMS" sha256sum --quiet -c SHA256SUMS
check "SHA256SUMS covers the four other files" test "$(wc -l <SHA256SUMS)" -eq 4

guide() {
    python3 - <<'PY'
data = open("はじめにお読みください.txt", "rb").read()
assert data.startswith(b"\xef\xbb\xbf"), "no byte-order mark"
assert data.count(b"\n") == data.count(b"\r\n") > 0, "not CRLF throughout"
data.decode("utf-8")
PY
}
check "guide in UTF-8 with byte-order mark and CRLF" guide

# The resources as windres reads them back from the executable's resource section.
resources_of() {
    x86_64-w64-mingw32-windres -J coff -O rc -i "$1"
}
version_resource() {
    local exe="$1" text
    text="$(resources_of "$exe")" || return 1
    for line in " FILEVERSION $numbers" " PRODUCTVERSION $numbers" \
        "VALUE \"FileVersion\", \"$version\"" "VALUE \"ProductVersion\", \"$version\"" \
        "VALUE \"ProductName\", \"Nocturo\"" "VALUE \"OriginalFilename\", \"$exe\"" \
        "VALUE \"InternalName\", \"${exe%.exe}\"" "VALUE \"FileDescription\", " \
        "VALUE \"LegalCopyright\", \"Copyright (c) 2026 The Nocturo developers\"" \
        'BLOCK "041104B0"' 'VALUE "Translation", 0x411, 1200'; do
        grep -qF -- "$line" <<<"$text" || {
            echo "$exe: no line with: $line"
            return 1
        }
    done
}
check "nocturo.exe version resource $version" version_resource nocturo.exe
check "nocturo-cli.exe version resource $version" version_resource nocturo-cli.exe
moon_line() {
    resources_of nocturo.exe | grep -F "LTEXT \"Nocturo. Version $version\""
}
check "Moon window shows Nocturo. Version $version" moon_line

# A build folder's path in a program would make the bytes depend on where it was built.
no_paths() {
    ! grep -a -l -F -e "$root" -e "$release" nocturo.exe nocturo-cli.exe
}
check "no build paths in the programs" no_paths

finish
