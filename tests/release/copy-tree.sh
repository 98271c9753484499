# Sourced by the release tests: zq_copy_tree DIR [fresh] copies the checkout at
# ROOT to DIR, without its build trees, releases and git data. With "fresh"
# the files get the time of the copy instead of their own.
zq_copy_tree() {
  local keep_times=()
  [ "${2:-}" = fresh ] && keep_times=(-m)
  mkdir -p "$1"
  tar -C "$ROOT" --exclude=./build --exclude=./dist --exclude=./.git --exclude=./.cache -cf - . |
    tar -C "$1" -x "${keep_times[@]}" -f -
}
