# Sourced by the tools that run Windows programs, after tools/lib/host.sh: a
# Wine prefix of the project's own under the build tree, made on first use, and
# an X display (Xvfb when none is given or the given one does not answer).
#
# Each road has its own prefix: ZQMV5_WINEPREFIX (default build/wine/prefix)
# for the 32-bit road, the same name with "64" after it for the 64-bit road,
# which runs wine64 in a 64-bit prefix. zq_wine_road ROAD switches between them;
# sourcing takes the 32-bit road.

export WINEDEBUG="${WINEDEBUG:--all}"
# No Mono or Gecko download prompts, no desktop menu entries.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=;winemenubuilder.exe=d}"
ZQ_PATH_WITHOUT_WINE64="${ZQ_PATH_WITHOUT_WINE64:-$PATH}"

zq_wine_road() {
  ZQ_ROAD=$1
  local base="${ZQMV5_WINEPREFIX:-$ROOT/build/wine/prefix}"
  PATH="$ZQ_PATH_WITHOUT_WINE64"
  if [ "$ZQ_ROAD" = 64 ]; then
    export WINEPREFIX="${base}64" WINEARCH=win64 WINELOADER=/usr/lib/wine/wine64
    [ -x "$WINELOADER" ] || zq_die "no $WINELOADER: tools/ensure-deps installs wine64"
    # Debian's wine, wineboot and winepath pick the 32-bit loader whenever
    # wine32 is installed, also where it cannot run: these go to wine64 itself.
    local shims="$ROOT/build/wine64-tools" name
    mkdir -p "$shims"
    for name in wine wineboot winepath; do
      [ -x "$shims/$name" ] && continue
      if [ "$name" = wine ]; then
        printf '#!/bin/sh\nexec %s "$@"\n' "$WINELOADER" >"$shims/$name.$$"
      else
        printf '#!/bin/sh\nexec %s %s.exe "$@"\n' "$WINELOADER" "$name" >"$shims/$name.$$"
      fi
      chmod +x "$shims/$name.$$"
      mv -f "$shims/$name.$$" "$shims/$name"
    done
    PATH="$shims:$PATH"
  else
    export WINEPREFIX="$base"
    unset WINEARCH WINELOADER
  fi
  export PATH
  ZQ_SMALL_DRIVE="$(dirname "$base")/small-drive"
}
zq_wine_road 32

# The road of a Windows program: 64 for an x86-64 one, else 32.
zq_road_of() {
  local pe machine
  pe=$(od -An -tu4 -j60 -N4 "$1" | tr -d ' ')
  machine=$(od -An -tx2 -j$((pe + 4)) -N2 "$1" | tr -d ' ')
  if [ "$machine" = 8664 ]; then echo 64; else echo 32; fi
}

# For a test: ends with CTest's "skipped" status (77), and the reason, when the
# Windows program $1 is a 32-bit one and the 32-bit road is not taken.
zq_skip_unless_runs() {
  [ "$(zq_road_of "$1")" = 32 ] || return 0
  zq_choose_roads
  [ -n "$ZQ_NO_32_WHY" ] || return 0
  echo "skipped: $(basename "$1") is a 32-bit Windows program, and $ZQ_NO_32_WHY"
  exit 77
}

# A run in a prefix has it to itself until it ends, so that no run ends
# another's programs when it stops its Wine server; another run waits, and says
# so. Tools that a tool starts inside its run (the tests under tools/test) find
# the prefix in ZQ_PREFIXES_HELD and share it. The Wine server inherits the
# lock, so a prefix whose programs still run after their tool ended (on a
# display of the user's own) is held until they end.
zq_hold_prefix() {
  case ":${ZQ_PREFIXES_HELD:-}:" in *":$WINEPREFIX:"*) return 0 ;; esac
  mkdir -p "$(dirname "$WINEPREFIX")"
  zq_lock "$WINEPREFIX.lock" "using the Wine prefix $WINEPREFIX"
  export ZQ_PREFIXES_HELD="${ZQ_PREFIXES_HELD:-}:$WINEPREFIX"
}

zq_start_display() {
  if [ -n "${DISPLAY:-}" ]; then
    if timeout 10 xdpyinfo >/dev/null 2>&1; then return 0; fi
    zq_step "the display $DISPLAY does not answer: using an Xvfb display of its own"
    unset DISPLAY
  fi
  local n i
  for n in $(seq 90 140); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    ZQ_XVFB_PID=$!
    for i in $(seq 1 200); do
      [ -e "/tmp/.X11-unix/X$n" ] && break
      kill -0 "$ZQ_XVFB_PID" 2>/dev/null || break
      sleep 0.05
    done
    if [ -e "/tmp/.X11-unix/X$n" ]; then
      export DISPLAY=":$n"
      return 0
    fi
    # Another Xvfb took the number first; try the next.
    kill "$ZQ_XVFB_PID" 2>/dev/null || true
    wait "$ZQ_XVFB_PID" 2>/dev/null || true
    unset ZQ_XVFB_PID
  done
  zq_die "could not start Xvfb on any display number from :90 to :140"
}

# Ends the Xvfb that zq_start_display started, and before it the programs of
# the prefixes this run holds (they would lose their display).
zq_stop_display() {
  if [ -n "${ZQ_XVFB_PID:-}" ]; then
    local prefix held
    IFS=: read -ra held <<<"${ZQ_PREFIXES_HELD:-}"
    for prefix in "${held[@]}"; do
      [ -z "$prefix" ] || WINEPREFIX="$prefix" wineserver -k >/dev/null 2>&1 || true
    done
    kill "$ZQ_XVFB_PID" 2>/dev/null || true
    wait "$ZQ_XVFB_PID" 2>/dev/null || true
    unset ZQ_XVFB_PID
  fi
}

# Makes the prefix on first use. Called while the prefix is held
# (zq_hold_prefix), so that no other run makes it at the same time.
zq_ensure_prefix() {
  if [ ! -f "$WINEPREFIX/.zqmv5-ready" ]; then
    zq_step "making the Wine prefix $WINEPREFIX (about a minute)"
    rm -rf "$WINEPREFIX"
    local log="$(dirname "$WINEPREFIX")/wineboot.log"
    wineboot -i >"$log" 2>&1 || { tail -n 5 "$log" >&2; zq_die "wineboot could not make the Wine prefix $WINEPREFIX (its last lines above; all in $log)"; }
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
}

# A drive S: of a few pages on a tmpfs of its own, which tests fill to see
# what the program does on a full disk; both roads' prefixes get it. Needs
# root; without it there is no S: and those tests skip.
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
  local prefix held
  IFS=: read -ra held <<<"${ZQ_PREFIXES_HELD:-}"
  for prefix in "${held[@]}"; do [ -z "$prefix" ] || rm -f "$prefix/dosdevices/s:"; done
  if mountpoint -q "$ZQ_SMALL_DRIVE" 2>/dev/null; then umount "$ZQ_SMALL_DRIVE" 2>/dev/null || true; fi
}

# The Windows directory of the prefix, where bare INI names and WIN.INI live.
zq_windows_dir() { echo "$WINEPREFIX/drive_c/windows"; }

# The Windows name of a Unix path, as Wine's drive Z: (the Unix root) gives
# it. Made here rather than by winepath, whose output follows the locale, so
# that a path in any characters crosses over whole (as UTF-8).
zq_windows_path() {
  local path
  path=$(realpath -m "$1")
  echo "Z:${path//\//\\}"
}
