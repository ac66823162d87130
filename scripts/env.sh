# Shared settings of the project's scripts (sourced, not run).
TAVLET_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export WINEPREFIX="${TAVLET_WINEPREFIX:-$TAVLET_ROOT/.wine}"
export WINEDEBUG=-all
export WINEARCH=win64
# Wine's own Mono and Gecko installers are not wanted (and cannot be fetched).
export WINEDLLOVERRIDES="mscoree=;mshtml="
WINE64=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver

# A persistent wineserver for a run (else every Windows program waits for the
# server to exit). One left by an earlier run, or a short-lived one still
# exiting, is replaced.
start_wineserver() {
  "$WINESERVER" -p 2>/dev/null && return 0
  "$WINESERVER" -k 2>/dev/null || true
  "$WINESERVER" -w 2>/dev/null || true
  "$WINESERVER" -p
}
