#!/usr/bin/env bash
# The project's one entry script.
#   tools/ravelink.sh demo   build everything and run the demo
#   tools/ravelink.sh test   build everything and run every test
#   tools/ravelink.sh build  only build
#   tools/ravelink.sh screenshots [--dialogs] [LANGUAGE...]
#                            the Manager's window and dialogs as PNG files, per language
# Each installs what the machine is missing first (quick when all is there).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
jobs=$(nproc 2>/dev/null || echo 2)

log() { printf '== %s\n' "$*" >&2; }

# Can this machine execute 32-bit x86 code? Some virtual machines cannot (no compatibility-mode
# code segments), and then Wine can only run 64-bit programs. The probe is a 32-bit Linux ELF of
# 84 bytes that exits with code 0.
can_run_32bit() {
  local probe
  probe=$(mktemp)
  python3 - "$probe" <<'PY'
import struct, sys
code = bytes([0x31, 0xdb, 0xb8, 1, 0, 0, 0, 0xcd, 0x80])   # xor ebx,ebx; mov eax,1; int 0x80
base = 0x08048000
hdr = b"\x7fELF" + bytes([1, 1, 1, 0]) + bytes(8)
hdr += struct.pack("<HHIIIIIHHHHHH", 2, 3, 1, base + 84, 52, 0, 0, 52, 32, 1, 0, 0, 0)
ph = struct.pack("<IIIIIIII", 1, 0, base, base, 84 + len(code), 84 + len(code), 5, 0x1000)
open(sys.argv[1], "wb").write(hdr + ph + code)
PY
  chmod +x "$probe"
  local ok=1
  "$probe" >/dev/null 2>&1 && ok=0
  rm -f "$probe"
  return $ok
}

test_arch() {
  if [ -n "${RAVELINK_TEST_ARCH:-}" ]; then echo "$RAVELINK_TEST_ARCH"; return; fi
  if can_run_32bit; then echo i686; else echo x86_64; fi
}

install_missing() {
  local arch=$1
  local pkgs=(cmake ninja-build g++-mingw-w64-i686-posix mingw-w64-i686-dev wine xvfb googletest
              python3 python3-aiosmtpd imagemagick x11-apps)
  if [ "$arch" = i686 ]; then
    pkgs+=(wine32:i386)
  else
    pkgs+=(g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev wine64)
  fi
  local missing=()
  for p in "${pkgs[@]}"; do
    dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  log "installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo=sudo
  if [ "$arch" = i686 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
  fi
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

configure_build() {
  local arch=$1 dir=$2 tests=$3
  if [ ! -f "$dir/build.ninja" ]; then
    cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-$arch.cmake" -DRAVELINK_BUILD_TESTS="$tests" >/dev/null
  fi
  cmake --build "$dir" -j "$jobs"
}

# build/i686 holds the deliverables as shipped; the tests run from the build of the test
# architecture (the same folder when the machine runs 32-bit code).
build_all() {
  local arch=$1
  if [ "$arch" = i686 ]; then
    configure_build i686 build/i686 ON
  else
    configure_build i686 build/i686 OFF
    configure_build "$arch" "build/$arch" ON
  fi
}

# The product's deliverables (stand-ins and benchmarks in the same folder are not among them).
list_deliverables() {
  local f
  for name in manager.exe Ravelink.cgw relaygw.cgw prepkit2.dll; do
    f="build/i686/bin/$name"
    if [ ! -e "$f" ]; then
      echo "$name: not built yet"
      continue
    fi
    echo "$f"
    i686-w64-mingw32-objdump -p "$f" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' | sed 's/^/    /'
  done
}

# Create the build's Wine prefix once, before tests run side by side, and keep one wineserver
# for the whole run.
prepare_prefix() {
  local arch=$1 prefix=$2 wine=wine
  [ "$arch" = x86_64 ] && wine=/usr/lib/wine/wine64
  export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  if [ ! -f "$prefix/system.reg" ]; then
    log "creating the Wine prefix $prefix"
    WINEPREFIX="$prefix" "$wine" wineboot --init >/dev/null 2>&1 || true
    WINEPREFIX="$prefix" wineserver -w
  fi
  WINEPREFIX="$prefix" wineserver -p >/dev/null 2>&1 || true
  # Start Wine's own background processes (services, device and RPC hosts) now, with no output
  # attached. Started by the first test instead, they would inherit that test's output pipe
  # and keep CTest waiting for its end as long as the wineserver lives.
  # They include the desktop process, so they need the display the tests will use.
  [ -n "${DISPLAY:-}" ] || export DISPLAY=$("$root/cmake/winerun.sh" --display "$(dirname "$prefix")")
  WINEPREFIX="$prefix" "$wine" cmd.exe /c exit >/dev/null 2>&1 </dev/null || true
}

cmd=${1:-}
case "$cmd" in
  build)
    arch=$(test_arch); install_missing "$arch"; build_all "$arch" ;;
  demo)
    # A display of the user's own (not in CI): the Manager stays open there until it is closed.
    interactive=()
    if [ -n "${DISPLAY:-}" ] && [ -z "${CI:-}" ]; then interactive=(--interactive); fi
    arch=$(test_arch); install_missing "$arch"; build_all "$arch"
    log "deliverables (build/i686/bin)"
    list_deliverables
    dir="build/$arch"
    trap 'cmake/winerun.sh --stop "$dir"' EXIT
    prepare_prefix "$arch" "$root/$dir/wineprefix"
    log "the road of one fax: demo mailbox, fax server simulator, network connector, Manager"
    tools/demo.sh "$dir" "${interactive[@]}" "${@:2}" ;;
  screenshots)
    # The Manager's window (and with --dialogs every dialog) in each language, for review.
    arch=$(test_arch); install_missing "$arch"; build_all "$arch"
    dir="build/$arch"
    trap 'cmake/winerun.sh --stop "$dir"' EXIT
    prepare_prefix "$arch" "$root/$dir/wineprefix"
    tools/screenshots.sh "$dir" "${@:2}" ;;
  test)
    arch=$(test_arch); install_missing "$arch"; build_all "$arch"
    dir="build/$arch"
    log "running the tests under Wine ($arch)"
    # One wineserver for the whole run; everything this run started is stopped at the end.
    trap 'cmake/winerun.sh --stop "$dir"' EXIT
    prepare_prefix "$arch" "$root/$dir/wineprefix"
    ctest --test-dir "$dir" --output-on-failure -j "$jobs" "${@:2}" ;;
  *)
    echo "usage: tools/ravelink.sh demo|test|build|screenshots" >&2; exit 2 ;;
esac
