#!/usr/bin/env bash
# Runs a Windows executable under Wine the way every Nocturo test does: a private prefix, the
# Japanese locale (ANSI code page 932), no debug chatter. The prefix is made by wine-prefix.sh.
set -u
export WINEPREFIX="${NOCTURO_WINEPREFIX:-${WINEPREFIX:-/tmp/nocturo-wineprefix}}"
export WINEDEBUG="${WINEDEBUG:--all}"
export LANG=ja_JP.UTF-8
export LC_ALL=ja_JP.UTF-8
exec /usr/lib/wine/wine64 "$@"
