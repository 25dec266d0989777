#!/usr/bin/env bash
# Native fuzzing of the mailbox store's pure decoders (libFuzzer, AddressSanitizer,
# UndefinedBehaviorSanitizer), and the same decoders' unit tests built natively with sanitizers.
#
#   tests/fuzz/run.sh [SECONDS]      build, seed and fuzz for SECONDS (default 30)
#   tests/fuzz/run.sh --tests        build and run tests/mailstore/records_test.cpp natively
#                                    (CXX=g++ to build it with g++ instead of clang++)
#
# Output goes to $FUZZ_BUILD (default build/fuzz). Needs clang (apt-get install clang).
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
out=${FUZZ_BUILD:-$root/build/fuzz}
mkdir -p "$out"
sources=("$root/mailstore/mailboxheader.cpp" "$root/mailstore/eventrecord.cpp")
flags=(-std=c++17 -g -O1 -I"$root" -Wall -Wextra -fno-sanitize-recover=all)

if ! command -v clang++ >/dev/null; then
  echo "clang++ is missing: apt-get install clang" >&2
  exit 2
fi

if [ "${1:-}" = "--tests" ]; then
  gt=/usr/src/googletest/googletest
  "${CXX:-clang++}" "${flags[@]}" -fsanitize=address,undefined -I"$gt/include" -I"$gt" \
    "$root/tests/mailstore/records_test.cpp" "${sources[@]}" "$gt/src/gtest-all.cc" "$gt/src/gtest_main.cc" \
    -lpthread -o "$out/records_test"
  exec "$out/records_test"
fi

seconds=${1:-30}
clang++ "${flags[@]}" -fsanitize=fuzzer,address,undefined "$root/tests/fuzz/mailstore_fuzz.cpp" "${sources[@]}" \
  -o "$out/mailstore_fuzz"

# Seeds: a valid mailbox with a plain record, a free one, one with 32 attachments and one with
# hostile names and counts; and a header alone.
corpus="$out/corpus"
mkdir -p "$corpus"
python3 - "$corpus" <<'PY'
import struct, sys, os
d = sys.argv[1]
def header(name=b"John Doe@ravelink", login=b"jdoe"):
    h = b"RLB\0" + name.ljust(256, b"\0") + struct.pack("<HHI", 0, 3, 1) + login.ljust(64, b"\0") + b"pw".ljust(320, b"\0")
    assert len(h) == 652
    return h
def record(slot=0, flags=0x10, state=0, subject=b"offer", body=b"0000AAAA.BDY", count=0, names=()):
    r = struct.pack("<B3xIBBBBHBB", slot, flags, state, 0, 9, 3, 2024, 19, 25)
    r += subject.ljust(256, b"\0")[:256] + b"".ljust(64, b"\0") + b"0000BBBB.FRP".ljust(16, b"\0")
    r += b"jdoe".ljust(64, b"\0") + b"John Doe".ljust(64, b"\0") + b"Jane Roe".ljust(64, b"\0") + b"+49301234".ljust(64, b"\0")
    r += body.ljust(16, b"\0")[:16] + struct.pack("<b3x", count)
    for i in range(32):
        n = names[i] if i < len(names) else b""
        r += b"\0\0\0\0" + n.ljust(16, b"\0")[:16]
    assert len(r) == 1268, len(r)
    return r
many = [b"%08X.tif" % i for i in range(32)]
hostile = [b"..\\victim.txt", b"C:x", b"a/b", b"A" * 16, b"NUL.txt"]
files = {
    "mailbox": header() + record() + record(slot=1) + record(count=32, names=many) +
               record(flags=0x50, body=b"..\\..\\boot.ini", count=100, names=hostile) + b"partial",
    "header": header(),
    "negative": record(count=-5, subject=b"C:\\docs\\offer.tif"),
}
for name, data in files.items():
    open(os.path.join(d, name), "wb").write(data)
PY
echo "fuzzing for $seconds s: $out/mailstore_fuzz $corpus"
"$out/mailstore_fuzz" -max_total_time="$seconds" -max_len=16384 -print_final_stats=1 "$corpus"
