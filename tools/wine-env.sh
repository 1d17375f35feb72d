# Sourced by every script that runs Wine: where Wine is, the environment Nocturo runs in, and the
# making of a private prefix. Defines $wine and $wineserver and two functions:
#   nocturo_wine_env PREFIX        exports WINEPREFIX (made absolute), the Japanese locale (ANSI code
#                                  page 932) and quiet debug output;
#   nocturo_prepare_prefix PREFIX [FROM]
#                                  makes the prefix once: Japanese fonts for the names Windows
#                                  programs ask for ("ＭＳ ゴシック" and the like) and the virtual
#                                  desktop "Nocturo" (1024 x 768) with a taskbar and its tray; as a
#                                  copy of the made prefix FROM when one is given;
#   nocturo_set_dpi PREFIX DPI     sets the system dpi (LogPixels) of the made prefix PREFIX to
#                                  DPI and grows its virtual desktop with it; 96 puts both back.
#                                  Ends the prefix's server: run nothing else in it meanwhile.
# A missing Wine is an error with a message, never a quiet pass.

wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver64

if [ ! -x "$wine" ] || [ ! -x "$wineserver" ]; then
    echo "wine-env: Wine is not installed ($wine, $wineserver); run tools/setup.sh" >&2
    return 1 2>/dev/null || exit 1
fi

nocturo_wine_env() {
    mkdir -p "$1"
    WINEPREFIX="$(cd "$1" && pwd)"
    export WINEPREFIX
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml="
    export LANG=ja_JP.UTF-8
    export LC_ALL=ja_JP.UTF-8
}

nocturo_prepare_prefix() {
    # Bump when the settings below change, so that existing prefixes are brought up to date.
    local version=1 prefix stamp reg from="${2:-}"
    nocturo_wine_env "$1"
    prefix="$WINEPREFIX"
    stamp="$prefix/.nocturo-prefix"
    if [ "$(cat "$stamp" 2>/dev/null)" = "$version" ]; then
        return 0
    fi
    # A second prefix for tests that must not share a server: a copy of a made one is a second's
    # work, a new one with wineboot half a minute's.
    if [ -n "$from" ] && [ "$(cat "$from/.nocturo-prefix" 2>/dev/null)" = "$version" ]; then
        (
            flock 9
            if [ "$(cat "$stamp" 2>/dev/null)" != "$version" ]; then
                rm -rf "$prefix" && cp -a "$from" "$prefix"
            fi
        ) 9>"$prefix.lock"
        [ "$(cat "$stamp" 2>/dev/null)" = "$version" ] && return 0
    fi
    # Two test runs may start at once; one makes the prefix, the other waits for it.
    (
        flock 9
        if [ "$(cat "$stamp" 2>/dev/null)" = "$version" ]; then
            exit 0
        fi
        echo "wine-prefix: preparing $prefix"
        # wineboot needs no display; without one it only warns. Mono and Gecko are not wanted
        # (and cannot be downloaded here): WINEDLLOVERRIDES keeps wineboot from asking for them.
        # Wine's server outlives this function: it must not inherit the lock (descriptor 9), or
        # every later caller would wait on it for as long as the server runs.
        "$wine" wineboot --init >/dev/null 2>&1 9>&- || true
        "$wineserver" -w 9>&-
        reg="$prefix/nocturo.reg"
        # regedit reads a version 5 file as UTF-16 with a byte order mark.
        {
            printf '\xef\xbb\xbf'
            cat <<'REG'
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

REG
        } | sed 's/$/\r/' | iconv -f UTF-8 -t UTF-16LE >"$reg"
        "$wine" regedit /S "$reg" >/dev/null 2>&1 9>&-
        "$wineserver" -w 9>&-
        # regedit reports no failure: check that the Japanese name arrived intact.
        if ! grep -q 'IPAGothic' "$prefix/user.reg"; then
            echo "wine-prefix: font replacements missing from $prefix/user.reg" >&2
            exit 1
        fi
        echo "$version" >"$stamp"
        echo "wine-prefix: ready"
    ) 9>"$prefix.lock"
}

nocturo_set_dpi() {
    # Wine reads the dpi when its server starts: the prefix's server is ended before the change,
    # and the change is written out by letting the server of the registry tool end by itself.
    local prefix="$1" dpi="$2"
    WINEPREFIX="$prefix" "$wineserver" -k 2>/dev/null
    WINEPREFIX="$prefix" "$wineserver" -w 2>/dev/null
    WINEPREFIX="$prefix" "$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels \
        /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1 || return 1
    # The virtual desktop grows with the scale, so that the windows fit as at 96 dpi.
    WINEPREFIX="$prefix" "$wine" reg add 'HKCU\Software\Wine\Explorer\Desktops' \
        /v Nocturo /d "$((1024 * dpi / 96))x$((768 * dpi / 96))" /f >/dev/null 2>&1 || return 1
    WINEPREFIX="$prefix" "$wineserver" -w 2>/dev/null
    return 0
}
