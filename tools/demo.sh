#!/usr/bin/env bash
# The road of one fax, shown on the demo mailbox:
#
#   tools/demo.sh BUILD [--seconds N] [--interactive] [LANGUAGE]
#
# BUILD is a build folder with the tests' programs (a build whose architecture this machine runs).
# In that build's Wine prefix it
#   1. makes the demo mailbox root BUILD/demo/root (demodata.exe: several users, events in every
#      state, a personal folder) and points RIROVEVI.INI at it;
#   2. starts the fax server simulator (faxsim.exe) on it, one pass every 3 seconds; faxes to a
#      number ending in 13 fail;
#   3. submits a fax with two recipients and an attachment through the real Ravelink.cgw
#      (cgwhost.exe, logged on as the Windows user);
#   4. opens manager.exe on the user's mailbox.
# With --interactive (a display of the user's own) the Manager stays until the user closes it.
# Otherwise it runs on the build's Xvfb for N seconds (default 30): the Outbox is refreshed while
# the fax goes through its states, an incoming fax is delivered, and screenshots are saved to
# BUILD/screenshots/road-*.png (their paths are printed). Everything started here is stopped at
# the end, and RIROVEVI.INI and the personal folder list are put back as they were.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
[ $# -ge 1 ] || { echo "usage: $0 BUILD [--seconds N] [--interactive] [LANGUAGE]" >&2; exit 2; }
build=$(cd "$1" && pwd)
shift
seconds=30
interactive=0
language=eng
while [ $# -gt 0 ]; do
  case "$1" in
    --seconds) seconds=$2; shift 2 ;;
    --interactive) interactive=1; shift ;;
    *) language=$1; shift ;;
  esac
done

run="$root/cmake/winerun.sh"
bin="$build/bin"
for f in manager.exe demodata.exe faxsim.exe cgwhost.exe Ravelink.cgw windowdriver.exe; do
  [ -f "$bin/$f" ] || { echo "missing $bin/$f (build the tests' programs first)" >&2; exit 1; }
done

export WINEPREFIX=${WINEPREFIX:-$build/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
if [ -z "${DISPLAY:-}" ]; then
  export DISPLAY=$("$run" --display "$build")
fi
peoff=$(od -An -t u4 -j 60 -N 4 "$bin/manager.exe" | tr -d ' ')
machine=$(od -An -t x2 -j $((peoff + 4)) -N 2 "$bin/manager.exe" | tr -d ' ')
wine=wine
if [ "$machine" = "8664" ]; then wine=/usr/lib/wine/wine64; [ -x "$wine" ] || wine=wine64; fi

demo="$build/demo"
out="$build/screenshots"
mkdir -p "$demo" "$out"
work=$(mktemp -d)
winpath() { printf 'Z:%s' "$1" | tr '/' '\\'; }
title="Ravelink Manager - "

# What the demo changes in the prefix, kept aside until the end.
windir="$WINEPREFIX/drive_c/windows"
ini=$(find "$windir" -maxdepth 1 -iname rirovevi.ini -print -quit)
[ -n "$ini" ] || ini="$windir/RIROVEVI.INI"
had_ini=0
if [ -f "$ini" ]; then cp -p "$ini" "$work/ini"; had_ini=1; fi
folders='HKCU\Software\Tavikon\Virerure Client 7.00\Personal Folders'
x11='HKCU\Software\Wine\X11 Driver'
decorated=$("$wine" reg query "$x11" /v Decorated 2>/dev/null | tr -d '\r' | awk '$1 == "Decorated" {print $3}' || true)
had_folders=0
if "$wine" reg export "$folders" "$(winpath "$work/folders.reg")" /y >/dev/null 2>&1; then had_folders=1; fi

simulator=""
manager=""
stopfile="$demo/faxsim.stop"
finish() {
  if [ -n "$manager" ] && kill -0 "$manager" 2>/dev/null; then
    "$run" "$bin/windowdriver.exe" dismiss "$title" >/dev/null 2>&1 || true
    "$run" "$bin/windowdriver.exe" close "$title" >/dev/null 2>&1 || true
    for _ in $(seq 1 50); do kill -0 "$manager" 2>/dev/null || break; sleep 0.2; done
    kill "$manager" 2>/dev/null || true
  fi
  if [ -n "$simulator" ]; then
    touch "$stopfile"
    for _ in $(seq 1 50); do kill -0 "$simulator" 2>/dev/null || break; sleep 0.2; done
    kill "$simulator" 2>/dev/null || true
  fi
  if [ $had_ini = 1 ]; then cp -p "$work/ini" "$ini"; else rm -f "$ini"; fi
  "$wine" reg delete "$folders" /f >/dev/null 2>&1 || true
  if [ $had_folders = 1 ]; then "$wine" reg import "$(winpath "$work/folders.reg")" >/dev/null 2>&1 || true; fi
  if [ -n "$decorated" ]; then
    "$wine" reg add "$x11" /v Decorated /t REG_SZ /d "$decorated" /f >/dev/null 2>&1 || true
  else
    "$wine" reg delete "$x11" /v Decorated /f >/dev/null 2>&1 || true
  fi
  rm -rf "$work"
}
trap finish EXIT

say() { printf '== %s\n' "$*" >&2; }

# 1. The demo mailbox root.
rm -rf "$demo/root" "$stopfile"
rm -f "$ini"
"$run" "$bin/demodata.exe" "$(winpath "$demo/root")" >"$demo/demodata.txt"
# The first mailbox made is the Windows user's own: ROOT\LOGIN\mailbox.rlb (N events).
user=$(sed -n 2p "$demo/demodata.txt" | sed -E 's/ \([0-9]+ events\)\r?$//' | tr '\\' '/' | awk -F/ '{print $(NF-1)}')
say "demo mailbox root: $demo/root (mailboxes of $user, jdoe, asmith, mrossi; personal folder Demo Archive)"
# Window captions drawn by Wine itself: there is no window manager on Xvfb.
[ $interactive = 1 ] || "$wine" reg add "$x11" /v Decorated /t REG_SZ /d N /f >/dev/null 2>&1 || true
# A scan every minute. On the user's own display the notifications pop up as they would for any
# user (the window minimised to the notification area); headless they would only cover the
# screenshots.
if [ $interactive = 1 ]; then
  printf '[Options]\r\nLanguage=%s\r\nScanTime=1\r\n' "$language" >>"$ini"
else
  printf '[Options]\r\nLanguage=%s\r\nScanTime=1\r\nPopupNew=0\r\nPopupFailed=0\r\n' "$language" >>"$ini"
fi

# 2. The fax server simulator.
: >"$demo/faxsim.log"
"$run" "$bin/faxsim.exe" "$(winpath "$demo/root")" --every 3000 --fail-suffix 13 \
  --until-file "$(winpath "$stopfile")" --log "$(winpath "$demo/faxsim.log")" >/dev/null 2>&1 &
simulator=$!
say "fax server simulator running (log: $demo/faxsim.log)"

# 3. A fax through the network connector: two recipients, one of whom cannot be reached.
printf 'Quarterly figures, page 1 of 1\r\n' >"$demo/figures.txt"
"$run" "$bin/cgwhost.exe" "$bin/Ravelink.cgw" --logon '~' '~' --subject "Quarterly figures" \
  --body "Please find the figures attached." \
  --to "Anna|Weber|Weber GmbH|+49 30 8812044|Sales|anna.weber@example.com|+49 30 8812040" \
  --to "Paul|Martin|Martin SARL|+33 1 44 55 66 13|Purchasing||" \
  --attach "$(winpath "$demo/figures.txt")" >"$demo/cgwhost.txt" 2>&1 ||
  { cat "$demo/cgwhost.txt" >&2; echo "the connector did not take the fax" >&2; exit 1; }
say "submitted \"Quarterly figures\" to two recipients through Ravelink.cgw"

# 4. The Manager.
"$run" "$bin/manager.exe" >/dev/null 2>&1 &
manager=$!
if [ $interactive = 1 ]; then
  say "the Manager is open on $DISPLAY; close it to end the demo (Refresh, F5, shows the simulator's progress)"
  wait "$manager" || true
  manager=""
  say "faxsim did: $(wc -l <"$demo/faxsim.log") steps"
  exit 0
fi

geometry=""
for _ in $(seq 1 100); do
  geometry=$(xwininfo -root -tree 2>/dev/null | grep -m1 "\"$title" |
    sed -E 's/.* ([0-9]+)x([0-9]+)\+(-?[0-9]+)\+(-?[0-9]+) +\+(-?[0-9]+)\+(-?[0-9]+).*/\1x\2+\5+\6/' || true)
  [ -n "$geometry" ] && break
  sleep 0.2
done
[ -n "$geometry" ] || { echo "the Manager's window did not appear" >&2; exit 1; }

shot() {
  sleep 1.5
  import -window root -crop "$geometry" +repage "$out/road-$1.png"
  echo "$out/road-$1.png"
}
refresh() { "$run" "$bin/windowdriver.exe" command "$title" 32783 >/dev/null; }
folder() { "$run" "$bin/windowdriver.exe" folder "$title" "$1" >/dev/null; }

shot 1-inbox
folder 2
shot 2-outbox-submitted
# The simulator takes the fax through Queued and Working to Sent and Failed.
start=$(date +%s)
half=$((seconds / 2))
while [ $(($(date +%s) - start)) -lt "$half" ]; do sleep 3; refresh; done
shot 3-outbox-later
# A fax arrives for the user.
"$run" "$bin/faxsim.exe" "$(winpath "$demo/root")" --once --deliver "$user" 1 >>"$demo/faxsim.log" 2>&1 || true
folder 1
refresh
shot 4-inbox-new-fax
while [ $(($(date +%s) - start)) -lt "$seconds" ]; do sleep 3; refresh; done
folder 2
refresh
shot 5-outbox-end
say "faxsim log: $demo/faxsim.log"
