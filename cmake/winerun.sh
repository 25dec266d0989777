#!/usr/bin/env bash
# Runs a Windows program of this build under Wine: winerun.sh PROGRAM.exe [ARGS...]
#
# - The prefix is the build's own (<build>/wineprefix, next to <build>/bin), created on first use,
#   unless WINEPREFIX is set already.
# - 64-bit programs go to wine64, 32-bit ones to wine.
# - Without a DISPLAY, a private Xvfb is started once for the build and reused
#   (tools/ravelink.sh stops it at the end of a run; `winerun.sh --stop BUILD` does it by hand;
#   `winerun.sh --display BUILD` starts it and prints its name).
# - Into a pipe, the output comes when the program has ended (RAVELINK_WINERUN_STREAM=1: at once).
set -u

# The build's private Xvfb display (started once, then reused): prints ":N".
builddisplay() {
  local build=$1
  local lock="$build/xvfb.lock"
  exec 9>"$lock"
  flock 9
  if [ -f "$build/xvfb.pid" ] && kill -0 "$(cat "$build/xvfb.pid")" 2>/dev/null; then
    :
  else
    # -displayfd picks a free display number and reports it once the server is ready.
    rm -f "$build/xvfb.display"
    Xvfb -displayfd 8 -screen 0 1280x1024x24 -nolisten tcp 8>"$build/xvfb.display" 9>&- </dev/null >/dev/null 2>&1 &
    echo $! >"$build/xvfb.pid"
    for _ in $(seq 1 100); do
      [ -s "$build/xvfb.display" ] && break
      sleep 0.05
    done
  fi
  flock -u 9
  exec 9>&-
  echo ":$(head -n1 "$build/xvfb.display" | tr -d ' \n')"
}

if [ "${1:-}" = "--display" ]; then
  builddisplay "$(cd "${2:?build folder}" && pwd)"
  exit 0
fi

if [ "${1:-}" = "--stop" ]; then
  build=$(cd "${2:?build folder}" && pwd)
  WINEPREFIX=${WINEPREFIX:-$build/wineprefix} wineserver -k 2>/dev/null
  if [ -f "$build/xvfb.pid" ]; then
    kill "$(cat "$build/xvfb.pid")" 2>/dev/null
    rm -f "$build/xvfb.pid" "$build/xvfb.display"
  fi
  exit 0
fi

prog=${1:?program}
shift
progdir=$(cd "$(dirname "$prog")" && pwd)
build=$(dirname "$progdir")

export WINEPREFIX=${WINEPREFIX:-$build/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
# No browser or .NET installer prompts in a fresh prefix.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

# PE machine type: 0x8664 is x86-64, 0x14c is i386.
peoff=$(od -An -t u4 -j 60 -N 4 "$prog" | tr -d ' ')
machine=$(od -An -t x2 -j $((peoff + 4)) -N 2 "$prog" | tr -d ' ')
if [ "$machine" = "8664" ]; then
  winebin=/usr/lib/wine/wine64
  [ -x "$winebin" ] || winebin=wine64
else
  winebin=wine
fi

if [ -z "${DISPLAY:-}" ]; then
  export DISPLAY=$(builddisplay "$build")
fi

# Writing into a pipe (CTest reads each test's output through one), the program's output goes
# to a file first and is passed on when the program has ended. Wine starts its background
# processes (services, device and RPC hosts) on demand from whichever program needs them first,
# and they inherit that program's output: holding the pipe open, they would keep the reader
# waiting long after the program ended.
if [ -p /dev/stdout ] && [ -z "${RAVELINK_WINERUN_STREAM:-}" ]; then
  out=$(mktemp)
  trap 'cat "$out"; rm -f "$out"; exit 143' TERM INT
  "$winebin" "$prog" "$@" >"$out" 2>&1
  rc=$?
  cat "$out"
  rm -f "$out"
  exit $rc
fi
exec "$winebin" "$prog" "$@"
