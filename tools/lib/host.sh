# Sourced first by every tool (ROOT set to the checkout): what a tool says when
# it cannot go on, who may run it, and what this host runs.

ZQ_TOOL="${ZQ_TOOL:-$(realpath -m --relative-to="$ROOT" "$0")}"

# Says in one line why the tool cannot go on, and ends it.
zq_die() {
  echo "$ZQ_TOOL: $*" >&2
  exit 1
}

# A command that fails under set -e would end the tool with its bare status:
# name it instead. Only the tool's own shell speaks, so that a failure inside a
# command substitution is told once, by the command that holds it.
zq_on_error() {
  local status=$1 command=$2
  [ "$BASH_SUBSHELL" = 0 ] || return 0
  echo "$ZQ_TOOL: stopped, since this failed (status $status): $command" >&2
}
set -E
trap 'zq_on_error $? "$BASH_COMMAND"' ERR

# A user runs the tools as themself; only the package install needs root, and
# tools/ensure-deps asks sudo for it. Root in a clone that another user owns
# would leave root-owned files in it that the owner can no longer replace (and
# Wine refuses a prefix that is not its user's): say what to do before anything
# is written.
zq_check_owner() {
  local owner
  owner=$(stat -c %u "$ROOT")
  if [ "$(id -u)" = 0 ] && [ "$owner" != 0 ]; then
    zq_die "this clone belongs to $(id -nu "$owner" 2>/dev/null || echo "user $owner"); run $ZQ_TOOL as that user, without sudo (tools/ensure-deps asks sudo for the packages it installs)"
  fi
}
zq_check_owner

# Whether this host runs 32-bit (i386) Linux programs, as the 32-bit Wine
# loader is one. A kernel built or booted without IA-32 emulation refuses them
# ("Exec format error") whatever is installed, and before tools/ensure-deps has
# run there may be no 32-bit program at all; so the probe is a 96-byte program
# of our own that only exits with 42. Found out once and handed on to the tools
# a tool starts: ZQ_HOST_IA32 is yes or no. ZQMV5_TEST_NO_IA32=1 gives the probe
# a program for a machine that no kernel runs, to try the other answer.
zq_probe_ia32() {
  [ -z "${ZQ_HOST_IA32:-}" ] || return 0
  local machine='\x03' probe status=0
  [ "${ZQMV5_TEST_NO_IA32:-}" != 1 ] || machine='\x3e'
  mkdir -p "$ROOT/build"
  probe=$(mktemp "$ROOT/build/.ia32-probe.XXXXXX")
  local elf='\x7fELF\x01\x01\x01\0\0\0\0\0\0\0\0\0\x02\0'"$machine"'\0\x01\0\0\0'  # ELF32 i386 executable
  elf+='\x54\x80\x04\x08\x34\0\0\0\0\0\0\0\0\0\0\0\x34\0\x20\0\x01\0\0\0\0\0\0\0'  # entry, 1 segment
  elf+='\x01\0\0\0\0\0\0\0\0\x80\x04\x08\0\x80\x04\x08\x60\0\0\0\x60\0\0\0\x05\0\0\0\0\x10\0\0'  # its 96 bytes
  elf+='\xb8\x01\0\0\0\xbb\x2a\0\0\0\xcd\x80'  # exit(42) through int 0x80
  printf "$elf" >"$probe"
  chmod +x "$probe"
  "$probe" 2>/dev/null || status=$?
  rm -f "$probe"
  if [ "$status" = 42 ]; then ZQ_HOST_IA32=yes; else ZQ_HOST_IA32=no; fi
  export ZQ_HOST_IA32
}

# The Wine roads: "32", the 32-bit tree (build/mingw) under the 32-bit Wine,
# and "64", the 64-bit tree (build/mingw64) under wine64 in a 64-bit prefix.
# ZQMV5_WINE_ARCH=32 or 64 takes that road alone. Otherwise a host that runs
# 32-bit programs tests both (tools/test) and runs the 32-bit one (tools/run);
# a host that cannot takes the 64-bit road.
#   ZQ_ROADS      the roads tools/test takes
#   ZQ_RUN_ROAD   the road tools/run and the benches take
#   ZQ_NO_32_WHY  why the 32-bit road is not taken ("" when it is)
zq_choose_roads() {
  zq_probe_ia32
  case "${ZQMV5_WINE_ARCH:-}" in
    "") if [ "$ZQ_HOST_IA32" = yes ]; then ZQ_ROADS="32 64"; else ZQ_ROADS=64; fi ;;
    32) ZQ_ROADS=32 ;;
    64) ZQ_ROADS=64 ;;
    *) zq_die "ZQMV5_WINE_ARCH is 32 or 64, not '$ZQMV5_WINE_ARCH'" ;;
  esac
  ZQ_NO_32_WHY=""
  if [ "$ZQ_HOST_IA32" = no ]; then
    ZQ_NO_32_WHY="this host runs no 32-bit programs (no IA-32 emulation in its kernel)"
    [ "$ZQ_ROADS" != 32 ] || zq_die "ZQMV5_WINE_ARCH=32 asks for the 32-bit Wine, but $ZQ_NO_32_WHY"
  elif [ "$ZQ_ROADS" = 64 ]; then
    ZQ_NO_32_WHY="ZQMV5_WINE_ARCH=64 asks for the 64-bit road alone"
  fi
  ZQ_RUN_ROAD=${ZQ_ROADS%% *}
  export ZQ_NO_32_WHY
}

# The build tree of a road.
zq_tree() { if [ "$1" = 64 ]; then echo mingw64; else echo mingw; fi; }

# Says when a step that takes a while starts, so that no tool sits silent.
zq_step() { echo "$ZQ_TOOL: $*" >&2; }

# zq_lock FILE WHAT takes the lock in FILE, saying in one line that it waits when another run
# holds it; WHAT tells what that run is doing. Sets ZQ_LOCK_FD, which
# "zq_unlock FD" closes; the lock also ends with the process and with whatever it
# started that still holds the descriptor.
zq_lock() {
  local file=$1 what=$2
  exec {ZQ_LOCK_FD}>>"$file"
  if ! flock -n "$ZQ_LOCK_FD"; then
    zq_step "waiting for another run that is $what"
    flock "$ZQ_LOCK_FD"
  fi
}
zq_unlock() { local fd=$1; exec {fd}>&-; }
