# Sourced: builds the MinGW tree (ZQMV5.exe, Wine tests, helpers) and, when
# asked, the native tree. Needs ROOT set to the checkout.

zq_build_mingw() {
  cmake --preset mingw >/dev/null
  cmake --build --preset mingw
}

zq_build_native() {
  cmake --preset native >/dev/null
  cmake --build --preset native
}
