# Shared settings of the project's scripts (sourced, not run).
TAVLET_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export WINEPREFIX="${TAVLET_WINEPREFIX:-$TAVLET_ROOT/.wine}"
export WINEDEBUG=-all
export WINEARCH=win64
# Wine's own Mono and Gecko installers are not wanted (and cannot be fetched).
export WINEDLLOVERRIDES="mscoree=;mshtml="
WINE64=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver
