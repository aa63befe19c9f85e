#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Runs a Windows program of the cross build under wine64, in a prefix of its own.
set -euo pipefail
export WINEPREFIX="${WINEPREFIX:-${XDG_CACHE_HOME:-$HOME/.cache}/reelcraft-wine}"
export WINEDEBUG="${WINEDEBUG:--all}"
# Debian's wine64 package keeps its loader out of PATH.
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
exec "$wine" "$@"
