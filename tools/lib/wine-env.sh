# Sourced by the tools that run Windows programs: a Wine prefix of the project's
# own under the build tree, made on first use, and an X display (Xvfb when none
# is given). Needs ROOT set to the checkout.

export WINEPREFIX="${ZQMV5_WINEPREFIX:-$ROOT/build/wine/prefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
# No Mono or Gecko download prompts, no desktop menu entries.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=;winemenubuilder.exe=d}"

zq_start_display() {
  if [ -n "${DISPLAY:-}" ]; then return 0; fi
  local n
  for n in $(seq 90 140); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    ZQ_XVFB_PID=$!
    local i
    for i in $(seq 1 100); do
      [ -e "/tmp/.X11-unix/X$n" ] && break
      sleep 0.05
    done
    export DISPLAY=":$n"
    return 0
  done
  echo "no free X display number" >&2
  return 1
}

zq_stop_display() {
  if [ -n "${ZQ_XVFB_PID:-}" ]; then
    wineserver -k >/dev/null 2>&1 || true
    kill "$ZQ_XVFB_PID" 2>/dev/null || true
    wait "$ZQ_XVFB_PID" 2>/dev/null || true
    unset ZQ_XVFB_PID
  fi
}

zq_ensure_prefix() {
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    if [ ! -f "$WINEPREFIX/.zqmv5-ready" ]; then
      rm -rf "$WINEPREFIX"
      wineboot -i >/dev/null 2>&1
      # Xvfb has no window manager: unmanaged windows close at once.
      wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
      wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
      wineserver -w
      touch "$WINEPREFIX/.zqmv5-ready"
    fi
    # Wine draws the frame's buttons with its Marlett font, which this Wine
    # build does not find among its own fonts: without it a close button shows
    # as the letter "r".
    local fonts="$WINEPREFIX/drive_c/windows/Fonts"
    if [ ! -f "$fonts/marlett.ttf" ] && [ -f /usr/share/wine/fonts/marlett.ttf ]; then
      mkdir -p "$fonts" && cp /usr/share/wine/fonts/marlett.ttf "$fonts/"
    fi
  ) 9>"$(dirname "$WINEPREFIX")/.prefix.lock"
}

# A drive S: of a few pages on a tmpfs of its own, which tests fill to see
# what the program does on a full disk. Needs root; without it there is no S:
# and those tests skip.
ZQ_SMALL_DRIVE="$(dirname "$WINEPREFIX")/small-drive"
zq_mount_small_drive() {
  rm -f "$WINEPREFIX/dosdevices/s:"
  mkdir -p "$ZQ_SMALL_DRIVE"
  if ! mountpoint -q "$ZQ_SMALL_DRIVE"; then
    mount -t tmpfs -o size=256k,mode=1777 tmpfs "$ZQ_SMALL_DRIVE" 2>/dev/null || {
      echo "note: no small drive S: for the full-disk tests (mounting a tmpfs needs root)" >&2
      return 0
    }
  fi
  ln -sfn "$ZQ_SMALL_DRIVE" "$WINEPREFIX/dosdevices/s:"
}

zq_unmount_small_drive() {
  rm -f "$WINEPREFIX/dosdevices/s:"
  if mountpoint -q "$ZQ_SMALL_DRIVE" 2>/dev/null; then umount "$ZQ_SMALL_DRIVE" 2>/dev/null || true; fi
}

# The Windows directory of the prefix, where bare INI names and WIN.INI live.
zq_windows_dir() { echo "$WINEPREFIX/drive_c/windows"; }
