#!/usr/bin/env bash
# Two release builds of one source tree, in two folders, at different times,
# from files of different ages and under another time zone and umask, give the
# same ZQMV5.exe and the same zip, and neither exe holds its build folder.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
. "$ROOT/tests/release/copy-tree.sh"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
SOURCE_DATE_EPOCH=$(git -C "$ROOT" log -1 --format=%ct 2>/dev/null || echo 1700000000)
export SOURCE_DATE_EPOCH

zq_copy_tree "$tmp/first/ZQMV5"
(cd "$tmp/first/ZQMV5" && nice tools/release --out "$tmp/first/dist" >/dev/null)
sleep 2  # another second for whatever would record the time
zq_copy_tree "$tmp/second folder/ZQMV5" fresh
(cd "$tmp/second folder/ZQMV5" && export TZ=Pacific/Chatham && umask 077 &&
  nice tools/release --out "$tmp/second folder/dist" >/dev/null)

status=0
for side in first "second folder"; do
  exe="$tmp/$side/ZQMV5/build/release/bin/ZQMV5.exe"
  if grep -q -a -F -e "$tmp" -e "$ROOT" "$exe"; then
    echo "FAIL: the $side build's ZQMV5.exe holds a build path"
    status=1
  fi
done
compare() {
  local a b
  a=$(sha256sum <"$tmp/first/$1" | cut -d' ' -f1)
  b=$(sha256sum <"$tmp/second folder/$1" | cut -d' ' -f1)
  if [ "$a" = "$b" ]; then
    echo "ok: $a  $(basename "$1")"
  else
    echo "FAIL: $(basename "$1") differs: $a and $b; first differing bytes (offset, octal):"
    cmp -l "$tmp/first/$1" "$tmp/second folder/$1" | head -5
    status=1
  fi
}
compare ZQMV5/build/release/bin/ZQMV5.exe
zip=$(cd "$tmp/first/dist" && ls ZQMV5-*.zip)
compare "dist/$zip"
exit $status
