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
# server to exit), with the desktop held for the whole run. One left by an
# earlier run, or a short-lived one still exiting, is replaced.
start_wineserver() {
  if ! "$WINESERVER" -p 2>/dev/null; then
    "$WINESERVER" -k 2>/dev/null || true
    "$WINESERVER" -w 2>/dev/null || true
    "$WINESERVER" -p
  fi
  hold_desktop
}

# Wine starts the desktop's process (explorer.exe /desktop) when a program
# first needs it, handing it that program's standard error, and ends it only
# once no program has used the desktop for a moment. Started by a test, it
# kept the test's output pipe open: ctest waited for that test, long after it
# had passed, for as long as other tests kept the desktop busy (up to its
# timeout). So the first program of a run holds the desktop until the
# wineserver is stopped, its output going nowhere, and the run waits until the
# desktop's process is there.
hold_desktop() {
  local listing="$WINEPREFIX/.desktop-check"
  "$WINE64" notepad </dev/null >/dev/null 2>&1 &
  for _ in $(seq 100); do
    "$WINE64" winedbg --command "info proc" </dev/null >"$listing" 2>&1
    grep -q "'explorer.exe'" "$listing" && break
    sleep 0.1
  done
  rm -f "$listing"
}
