# Sourced: builds the project's trees. Needs ROOT set to the checkout.
declare -F zq_lock >/dev/null || . "$ROOT/tools/lib/host.sh"

# zq_build PRESET WHAT [CMAKE ARGS...]: configures (with the arguments given)
# and builds one tree (only the targets in ZQ_TARGETS, when set), saying in one
# line that it does and WHAT it is; its output goes to build/PRESET.log and is
# shown when the build fails. Builds of one tree take turns across runs: two at
# once would write over each other's configuration.
zq_build() {
  local preset=$1 what=$2 log="$ROOT/build/$1.log" fd
  shift 2
  mkdir -p "$ROOT/build"
  zq_lock "$ROOT/build/$preset.lock" "building build/$preset"
  fd=$ZQ_LOCK_FD
  local targets=() said=0
  [ -z "${ZQ_TARGETS:-}" ] || targets=(--target $ZQ_TARGETS)
  # Said only when there is work to do, so that a run on a built tree starts
  # with its own first line: at once for a new tree, else when the build
  # takes more than two seconds.
  if [ ! -f "$ROOT/build/$preset/CMakeCache.txt" ]; then
    zq_step "building build/$preset ($what)"
    said=1
  fi
  if ! cmake --preset "$preset" "$@" >"$log" 2>&1; then
    # A configuration cut short (by a stop, or by an older tool's race) is
    # made again from nothing once.
    cmake --preset "$preset" --fresh "$@" >"$log" 2>&1 || { cat "$log" >&2; zq_die "configuring build/$preset failed (its output above, and in $log)"; }
  fi
  local timer=""
  if [ "$said" = 0 ]; then
    # The timer leaves the lock to the build.
    { exec {fd}>&-; sleep 2; zq_step "building build/$preset ($what)"; } &
    timer=$!
  fi
  local status=0
  cmake --build --preset "$preset" "${targets[@]}" >>"$log" 2>&1 || status=$?
  if [ -n "$timer" ]; then kill "$timer" 2>/dev/null || true; wait "$timer" 2>/dev/null || true; fi
  [ "$status" = 0 ] || { cat "$log" >&2; zq_die "building build/$preset failed (its output above, and in $log)"; }
  zq_unlock "$fd"
}

zq_build_mingw() { zq_build mingw "the 32-bit ZQMV5.exe and its Wine tests"; }
zq_build_mingw64() { zq_build mingw64 "the 64-bit ZQMV5.exe and its Wine tests"; }
zq_build_native() { zq_build native "the unit tests" "$@"; }

# Builds what tools/run and the benches run (the program and its helpers, not
# the tests) in the tree of their road, 32-bit where the host runs 32-bit
# programs, and sets ZQ_BIN to its bin folder.
zq_build_run_tree() {
  zq_choose_roads
  [ -z "$ZQ_NO_32_WHY" ] || zq_step "$ZQ_NO_32_WHY: running the 64-bit ZQMV5.exe under wine64 (the release is the 32-bit one)"
  local tree
  tree=$(zq_tree "$ZQ_RUN_ROAD")
  ZQ_TARGETS="ZQMV5 fake_ide version_driver zq_runner" zq_build "$tree" "$1"
  ZQ_BIN="$ROOT/build/$tree/bin"
}
