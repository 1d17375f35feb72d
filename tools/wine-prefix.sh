#!/usr/bin/env bash
# Makes the private Wine prefix in which Nocturo and its Windows tests run, once:
#   tools/wine-prefix.sh PREFIX      (default: $NOCTURO_WINEPREFIX, else build/wineprefix)
# The settings are those of tools/wine-env.sh; a finished prefix carries a stamp and is left alone.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/wine-env.sh"
nocturo_prepare_prefix "${1:-${NOCTURO_WINEPREFIX:-$here/../build/wineprefix}}"
