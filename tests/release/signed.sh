#!/usr/bin/env bash
# A throwaway self-signed code-signing certificate signs a release: the
# signature verifies, the checksums are the signed exe's, the signed exe keeps
# its shape and still runs under Wine, and without its signature it is the
# unsigned build's bytes. A wrong password leaves no zip behind; an empty one
# opens its certificate. The zip holds CHANGELOG.md, a version without an entry
# there gets none, and a tree with changes not committed gets a -dirty zip.
#
#   signed.sh sign DIR   signs and checks; leaves the signed exe in DIR
#   signed.sh run DIR    runs it under Wine
#
# Two steps, so that only the second waits for the Wine prefix.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
step=$1
keep=$2
tmp=$(mktemp -d)
own_ini=""
cleanup() {
  if [ -n "$own_ini" ]; then
    if [ -f "$tmp/ZQMV5.ini.kept" ]; then mv "$tmp/ZQMV5.ini.kept" "$own_ini"; else rm -f "$own_ini"; fi
  fi
  [ -z "${ZQ_XVFB_PID:-}" ] || zq_stop_display
  rm -rf "$tmp"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*"
  exit 1
}

sign_step() {
  . "$ROOT/tests/release/copy-tree.sh"
  rm -rf "$keep"
  openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=ZQMV5 test signer" \
    -addext keyUsage=digitalSignature -addext extendedKeyUsage=codeSigning \
    -keyout "$tmp/key.pem" -out "$tmp/cert.pem" 2>/dev/null
  openssl pkcs12 -export -inkey "$tmp/key.pem" -in "$tmp/cert.pem" -out "$tmp/cert.p12" \
    -passout pass:right-one
  zq_copy_tree "$tmp/src"
  cd "$tmp/src"

  ZQMV5_SIGN_PASSWORD=wrong-one nice tools/release --out "$tmp/wrong" --sign "$tmp/cert.p12" \
    --ca-file "$tmp/cert.pem" >"$tmp/wrong.log" 2>&1 && fail "a wrong password signed"
  [ -z "$(ls "$tmp/wrong" 2>/dev/null)" ] || fail "a failed signing left $(ls "$tmp/wrong")"

  # A certificate with an empty password gets past the password check, to the
  # CHANGELOG's, which a tree whose CHANGELOG.md names other versions fails:
  # one line, before the build, and no zip.
  openssl pkcs12 -export -inkey "$tmp/key.pem" -in "$tmp/cert.pem" -out "$tmp/empty.p12" \
    -passout pass:
  zq_copy_tree "$tmp/unlisted"
  sed -i 's/^## \[/## [0./' "$tmp/unlisted/CHANGELOG.md"
  (cd "$tmp/unlisted" && ZQMV5_SIGN_PASSWORD='' nice tools/release --out "$tmp/unlisted-dist" \
    --sign "$tmp/empty.p12" >"$tmp/unlisted.log" 2>&1) && fail "a version without an entry got a zip"
  { [ "$(grep -c . "$tmp/unlisted.log")" = 1 ] &&
    grep -q "^release: CHANGELOG.md has no entry for version" "$tmp/unlisted.log"; } ||
    { cat "$tmp/unlisted.log"; fail "an empty password, or the CHANGELOG's refusal in one line"; }
  [ -z "$(ls "$tmp/unlisted-dist")" ] || fail "a refused version left $(ls "$tmp/unlisted-dist")"

  # The tree as a commit with a change on top; the password through a pipe, as
  # Notepad ends a line.
  git -C "$tmp/src" init -q
  git -C "$tmp/src" add -A
  git -C "$tmp/src" -c user.name=test -c user.email=test@localhost commit -q -m release
  echo >>README.md
  nice tools/release --out "$tmp/dist" --sign "$tmp/cert.p12" \
    --password-file <(printf 'right-one\r\n') --ca-file "$tmp/cert.pem" >"$tmp/release.log" 2>&1 ||
    { cat "$tmp/release.log"; fail "signing"; }
  zip="$tmp/dist/ZQMV5-$(cat build/release/version.txt)-dirty.zip"
  [ -f "$zip" ] || fail "a tree with changes not committed gave $(ls "$tmp/dist"), not $(basename "$zip")"
  mkdir "$tmp/zip"
  (cd "$tmp/zip" && unzip -q "$zip" && sha256sum --quiet -c SHA256SUMS) ||
    fail "SHA256SUMS does not match the zip's files"
  cmp -s <(sed 's/$/\r/' CHANGELOG.md) "$tmp/zip/CHANGELOG.md" || fail "the zip holds no CHANGELOG.md"
  exe="$tmp/zip/ZQMV5.exe"
  osslsigncode verify -CAfile "$tmp/cert.pem" -in "$exe" >"$tmp/verify.log" 2>&1 ||
    { cat "$tmp/verify.log"; fail "the signature in the zip does not verify"; }
  grep -q "Message digest algorithm  : SHA256" "$tmp/verify.log" || fail "not a SHA-256 signature"
  osslsigncode remove-signature -in "$exe" -out "$tmp/unsigned.exe" >/dev/null
  cmp -s "$tmp/unsigned.exe" build/release/bin/ZQMV5.exe ||
    fail "without its signature the exe is not the unsigned build"
  "$ROOT/tools/check-exe" "$exe" >"$tmp/check.log" || { cat "$tmp/check.log"; fail "check-exe"; }
  mkdir -p "$keep"
  cp "$exe" "$keep/ZQMV5.exe"
  echo "ok: signed, verified, checksums of the signed exe, its shape kept; CHANGELOG.md, -dirty"
}

run_step() {
  exe="$keep/ZQMV5.exe"
  [ -f "$exe" ] || fail "no signed exe in $keep"

  # The signed program runs: /Q CMD writes the help and ends with status 0. It
  # needs an IDE to be named, so ZQMV5.ini points at one for the run.
  . "$ROOT/tools/lib/host.sh"
  . "$ROOT/tools/lib/wine-env.sh"
  zq_skip_unless_runs "$exe"
  zq_hold_prefix
  zq_start_display
  zq_ensure_prefix
  own_ini="$(zq_windows_dir)/ZQMV5.ini"
  [ ! -f "$own_ini" ] || cp "$own_ini" "$tmp/ZQMV5.ini.kept"
  printf '[Clarion]\r\nroot=C:\\C5\r\nExeName=C:\\C5\\Bin\\C5EE.EXE\r\n' >"$own_ini"
  mkdir "$tmp/run"
  status=0
  (cd "$tmp/run" && wine "$exe" /Q CMD >"$tmp/cmd.txt") || status=$?
  [ "$status" = 0 ] || fail "the signed ZQMV5.exe /Q CMD ended with status $status"
  grep -q "ZQInstall: Command Line Parameters are:" "$tmp/cmd.txt" ||
    fail "the signed ZQMV5.exe /Q CMD wrote no help: $(cat "$tmp/cmd.txt")"
  echo "ok: the signed ZQMV5.exe runs under Wine"
}

case "$step" in
  sign) sign_step ;;
  run) run_step ;;
  *) fail "unknown step $step" ;;
esac
