#!/usr/bin/env bash
# Makes a demo mailbox root in a build's Wine prefix and points RIROVEVI.INI of that prefix at it.
#
#   tools/demodata.sh BUILD ROOT [LOGIN]
#
# BUILD is a build folder holding bin/demodata.exe (build the demodata target). ROOT is a folder
# of this machine (made when missing; Z:\... inside Wine) or a Windows path such as C:\ravelink.
# LOGIN is the account whose mailbox gets every state (default: the prefix's Windows user). Also
# registers the personal folder "Demo Archive" for the prefix's current user. Prints ROOT.
# To let the fax server's stand-in work on it:  cmake/winerun.sh BUILD/bin/faxsim.exe ROOT_AS_WINDOWS_PATH
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
[ $# -ge 2 ] && [ $# -le 3 ] || { echo "usage: $0 BUILD ROOT [LOGIN]" >&2; exit 2; }
build=$(cd "$1" && pwd)
root=$2
demo="$build/bin/demodata.exe"
[ -f "$demo" ] || { echo "missing $demo (build the demodata target)" >&2; exit 1; }

case "$root" in
  [A-Za-z]:*|\\\\*) winroot=$root ;;
  *)
    mkdir -p "$root"
    winroot=$(printf 'Z:%s' "$(cd "$root" && pwd)" | tr '/' '\\')
    ;;
esac

export WINEPREFIX=${WINEPREFIX:-$build/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
"$here/cmake/winerun.sh" "$demo" "$winroot" ${3:+"$3"} >/dev/null
echo "$root"
