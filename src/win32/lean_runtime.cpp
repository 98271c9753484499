// ZQMV5.exe is built with MinGW without exceptions or RTTI. These definitions take the
// place of the C++ runtime's throwing allocation and error paths, which would
// otherwise bring its whole exception machinery, a name demangler and a
// threads library into a small static program. Out of memory or a broken
// container invariant ends the program at once, as an uncaught exception
// would have, but quietly, with no box that would hold an unattended
// installation up, and with the status of any other failure.

#include <cstdlib>
#include <new>

#include "win32/win32.h"

namespace {

[[noreturn]] void Fatal() { std::_Exit(zqmv5::g_fatal_exit_status); }

void* TryAllocate(std::size_t size) { return std::malloc(size ? size : 1); }

void* Allocate(std::size_t size) {
  if (void* p = TryAllocate(size)) return p;
  Fatal();
}

}  // namespace

void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return TryAllocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return TryAllocate(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

namespace std {
void __throw_bad_alloc() { Fatal(); }
void __throw_bad_array_new_length() { Fatal(); }
void __throw_length_error(const char*) { Fatal(); }
void __throw_logic_error(const char*) { Fatal(); }
void __throw_out_of_range(const char*) { Fatal(); }
void __throw_out_of_range_fmt(const char*, ...) { Fatal(); }
void __throw_invalid_argument(const char*) { Fatal(); }
void __throw_bad_function_call() { Fatal(); }
void __throw_system_error(int) { Fatal(); }
}  // namespace std

namespace __gnu_cxx {
void __verbose_terminate_handler() { Fatal(); }
}  // namespace __gnu_cxx
