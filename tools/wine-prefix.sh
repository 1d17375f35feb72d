#!/usr/bin/env bash
# Makes the private Wine prefix in which Nocturo and its Windows tests run, once:
#   tools/wine-prefix.sh PREFIX      (default: $NOCTURO_WINEPREFIX, else build/wineprefix)
# Japanese locale (ANSI code page 932); the Japanese fonts that Windows programs ask for by name
# ("ＭＳ ゴシック", "MS UI Gothic", ...) replaced by the IPA fonts; every program in the virtual
# desktop "Nocturo" (1024 x 768) with a taskbar and its notification area, so that all of them see
# one another's windows and the same tray. A finished prefix carries a stamp and is left alone.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
prefix="${1:-${NOCTURO_WINEPREFIX:-$here/../build/wineprefix}}"
mkdir -p "$prefix"
prefix="$(cd "$prefix" && pwd)"
stamp="$prefix/.nocturo-prefix"
# Bump when the settings below change, so that existing prefixes are brought up to date.
version=1

export WINEPREFIX="$prefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export LANG=ja_JP.UTF-8
export LC_ALL=ja_JP.UTF-8
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver64

if [ "$(cat "$stamp" 2>/dev/null)" = "$version" ]; then
    exit 0
fi

# Two test runs may start at once; one makes the prefix, the other waits for it.
exec 9>"$prefix.lock"
flock 9
if [ "$(cat "$stamp" 2>/dev/null)" = "$version" ]; then
    exit 0
fi

echo "wine-prefix: preparing $prefix"
# wineboot needs no display; without one it only warns. Mono and Gecko are not wanted (and
# cannot be downloaded here): the overrides above keep wineboot from asking for them.
"$wine" wineboot --init >/dev/null 2>&1 || true
"$wineserver" -w

reg="$prefix/nocturo.reg"
# regedit reads a version 5 file as UTF-16 with a byte order mark; the Japanese names survive.
{
    printf '\xef\xbb\xbf'
    cat <<'EOF'
Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"ＭＳ ゴシック"="IPAGothic"
"MS Gothic"="IPAGothic"
"ＭＳ Ｐゴシック"="IPAPGothic"
"MS PGothic"="IPAPGothic"
"MS UI Gothic"="IPAPGothic"

[HKEY_CURRENT_USER\Software\Wine\Explorer]
"Desktop"="Nocturo"

[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]
"Nocturo"="1024x768"

[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops\Nocturo]
"EnableShell"=dword:00000001

EOF
} | sed 's/$/\r/' | iconv -f UTF-8 -t UTF-16LE >"$reg"
"$wine" regedit /S "$reg" >/dev/null 2>&1
"$wineserver" -w

# regedit reports no failure: check that the Japanese name arrived intact.
if ! grep -q 'IPAGothic' "$prefix/user.reg"; then
    echo "wine-prefix: font replacements missing from $prefix/user.reg" >&2
    exit 1
fi
echo "$version" >"$stamp"
echo "wine-prefix: ready"
