#!/usr/bin/env bash
# Renders the Manager's main window on a demo mailbox, once per language, to PNG for review.
#
#   tools/screenshots.sh BUILD [--dialogs] [LANGUAGE...]
#
# BUILD is a build folder that holds bin/manager.exe, bin/demodata.exe and bin/windowdriver.exe (a build with the
# tests, whose architecture this machine runs). LANGUAGE is a Language value of RIROVEVI.INI;
# by default all five: eng ger fre ita spa. Builds nothing itself.
#
# In the build's Wine prefix it makes a demo mailbox root for the Windows user, points
# RIROVEVI.INI at it, starts manager.exe under the build's Xvfb (cmake/winerun.sh), waits for the
# window, takes the screen with ImageMagick's import, closes the Manager as its close box would,
# and prints the path of each PNG (BUILD/screenshots/manager-LANGUAGE.png, the window; the whole
# screen beside it as manager-LANGUAGE-screen.png). With --dialogs it also opens each dialog
# through its command (windowdriver.exe, the first row selected) and saves the window with the
# dialog over it as dialog-NAME-LANGUAGE.png. RIROVEVI.INI and the Manager's registry key
# are put back as they were at the end. Do not run it while that build's tests run: they use
# RIROVEVI.INI of the same prefix.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
[ $# -ge 1 ] || { echo "usage: $0 BUILD [LANGUAGE...]" >&2; exit 2; }
build=$(cd "$1" && pwd)
shift
dialogs=0
if [ "${1:-}" = --dialogs ]; then dialogs=1; shift; fi
languages=("$@")
[ ${#languages[@]} -gt 0 ] || languages=(eng ger fre ita spa)

run="$root/cmake/winerun.sh"
manager="$build/bin/manager.exe"
demodata="$build/bin/demodata.exe"
driver="$build/bin/windowdriver.exe"
needed=("$manager" "$demodata" "$driver")
for f in "${needed[@]}"; do
  [ -f "$f" ] || { echo "missing $f (build the manager, demodata and windowdriver targets)" >&2; exit 1; }
done

export WINEPREFIX=${WINEPREFIX:-$build/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
out="$build/screenshots"
mkdir -p "$out"
work=$(mktemp -d)

# The prefix is made on first use; the helper's first run also starts Xvfb when there is no
# display.
demoroot="$out/demo-root"
rm -rf "$demoroot"
mkdir -p "$demoroot"
winpath() { printf 'Z:%s' "$1" | tr '/' '\\'; }

if [ -z "${DISPLAY:-}" ]; then
  export DISPLAY=":$(head -n1 "$build/xvfb.display" | tr -d ' \n')"
fi

# The Windows directory's RIROVEVI.INI (any letter case) and the Manager's registry key, kept
# aside until the end.
windir="$WINEPREFIX/drive_c/windows"
ini=$(find "$windir" -maxdepth 1 -iname rirovevi.ini -print -quit)
[ -n "$ini" ] || ini="$windir/RIROVEVI.INI"
had_ini=0
if [ -f "$ini" ]; then cp -p "$ini" "$work/ini"; had_ini=1; fi

peoff=$(od -An -t u4 -j 60 -N 4 "$manager" | tr -d ' ')
machine=$(od -An -t x2 -j $((peoff + 4)) -N 2 "$manager" | tr -d ' ')
wine=wine
if [ "$machine" = "8664" ]; then wine=/usr/lib/wine/wine64; [ -x "$wine" ] || wine=wine64; fi
key='HKCU\Software\Ravelink Manager'
had_key=0
if "$wine" reg export "$key" "$(winpath "$work/key.reg")" /y >/dev/null 2>&1; then had_key=1; fi
# Without a window manager the windows get no caption unless Wine draws it itself.
x11='HKCU\Software\Wine\X11 Driver'
decorated=$("$wine" reg query "$x11" /v Decorated 2>/dev/null | tr -d '\r' | awk '$1 == "Decorated" {print $3}' || true)
"$wine" reg add "$x11" /v Decorated /t REG_SZ /d N /f >/dev/null 2>&1

# The personal folder list: the demo data registers its folder there.
folders='HKCU\Software\Tavikon\Virerure Client 7.00\Personal Folders'
had_folders=0
if "$wine" reg export "$folders" "$(winpath "$work/folders.reg")" /y >/dev/null 2>&1; then had_folders=1; fi

restore() {
  "$run" "$driver" close "Ravelink Manager" >/dev/null 2>&1 || true
  if [ $had_ini = 1 ]; then cp -p "$work/ini" "$ini"; else rm -f "$ini"; fi
  "$wine" reg delete "$folders" /f >/dev/null 2>&1 || true
  if [ $had_folders = 1 ]; then "$wine" reg import "$(winpath "$work/folders.reg")" >/dev/null 2>&1 || true; fi
  "$wine" reg delete "$key" /f >/dev/null 2>&1 || true
  if [ $had_key = 1 ]; then "$wine" reg import "$(winpath "$work/key.reg")" >/dev/null 2>&1 || true; fi
  if [ -n "$decorated" ]; then
    "$wine" reg add "$x11" /v Decorated /t REG_SZ /d "$decorated" /f >/dev/null 2>&1 || true
  else
    "$wine" reg delete "$x11" /v Decorated /f >/dev/null 2>&1 || true
  fi
  rm -rf "$work"
}
trap restore EXIT

# Mailboxes of several users with events in every state, and a personal folder.
"$run" "$demodata" "$(winpath "$demoroot")" >/dev/null

# Profile files are CR LF texts.
writeini() {
  printf '[Directories]\r\nMailbox=%s\r\n[Options]\r\nLanguage=%s\r\nPopupNew=0\r\nPopupFailed=0\r\n' \
    "$(winpath "$demoroot")" "$1" >"$ini"
}

# The window's place on the screen: 960 x 640 pixels near the top left corner.
"$wine" reg add "$key\\Ravelink Manager\\Settings" /v WindowPos /t REG_SZ /d "0,1,-1,-1,-1,-1,24,24,984,664" /f \
  >/dev/null 2>&1

window_geometry() {
  xwininfo -root -tree 2>/dev/null | grep -m1 '"Ravelink Manager - ' |
    sed -E 's/.* ([0-9]+)x([0-9]+)\+(-?[0-9]+)\+(-?[0-9]+) +\+(-?[0-9]+)\+(-?[0-9]+).*/\1x\2+\5+\6/'
}

for language in "${languages[@]}"; do
  writeini "$language"
  "$run" "$manager" >/dev/null 2>&1 &
  pid=$!
  geometry=""
  for _ in $(seq 1 100); do
    geometry=$(window_geometry || true)
    [ -n "$geometry" ] && break
    sleep 0.2
  done
  if [ -z "$geometry" ]; then
    echo "the Manager's window did not appear ($language)" >&2
    kill "$pid" 2>/dev/null || true
    exit 1
  fi
  sleep 1.5   # let it paint
  screen="$out/manager-$language-screen.png"
  shot="$out/manager-$language.png"
  import -window root "$screen"
  import -window root -crop "$geometry" +repage "$shot"
  if [ $dialogs = 1 ]; then
    # name and command: Options, Route, Move to Folder, New folder, Details, the Delete question.
    for pair in options:32798 route:32779 move:32806 newfolder:32802 details:32792 delete:32781; do
      name=${pair%%:*}
      "$run" "$driver" command "Ravelink Manager - " "${pair#*:}" --first-row >/dev/null
      sleep 2
      import -window root -crop "$geometry" +repage "$out/dialog-$name-$language.png"
      "$run" "$driver" dismiss "Ravelink Manager - " >/dev/null || true
      sleep 2.5   # a window that was shown takes a moment to leave the screen
      echo "$out/dialog-$name-$language.png"
    done
  fi
  "$run" "$driver" close "Ravelink Manager" >/dev/null
  for _ in $(seq 1 50); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.2
  done
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  echo "$shot"
done
