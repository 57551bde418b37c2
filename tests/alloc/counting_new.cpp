#include "alloc/counting_new.h"

#include <execinfo.h>
#include <unistd.h>

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <new>

namespace zelkar::alloc {

namespace {

constexpr int kBacktraceFrames = 32;
constexpr int kBacktracesShown = 5;  // the first few tell where; the rest repeat them

// Plain globals: the program is single-threaded and these must not
// allocate themselves.
bool counting = false;
int64_t counted = 0;
int shown = 0;

bool wantBacktraces() {
  static const bool want = [] {
    const char* v = std::getenv("ZELKAR_ALLOC_BACKTRACE");
    return v && *v == '1';
  }();
  return want;
}

void count(std::size_t size) {
  if (!counting) return;
  ++counted;
  if (!wantBacktraces() || shown >= kBacktracesShown) return;
  ++shown;
  counting = false;  // the report may allocate
  void* frames[kBacktraceFrames];
  const int n = backtrace(frames, kBacktraceFrames);
  std::fprintf(stderr, "counted allocation of %zu bytes:\n", size);
  backtrace_symbols_fd(frames, n, STDERR_FILENO);
  counting = true;
}

void* allocate(std::size_t size, std::size_t align) {
  count(size);
  if (size == 0) size = 1;
  void* p = align > alignof(std::max_align_t)
                ? std::aligned_alloc(align, (size + align - 1) / align * align)
                : std::malloc(size);
  if (!p) throw std::bad_alloc();
  return p;
}

void* allocateOrNull(std::size_t size) noexcept {
  try {
    return allocate(size, 0);
  } catch (...) {
    return nullptr;
  }
}

}  // namespace

void start() {
  if (wantBacktraces()) {  // backtrace() allocates once, on its first call
    void* frame[1];
    backtrace(frame, 1);
  }
  counted = 0;
  counting = true;
}

int64_t stop() {
  counting = false;
  return counted;
}

}  // namespace zelkar::alloc

using zelkar::alloc::allocate;
using zelkar::alloc::allocateOrNull;

void* operator new(std::size_t n) { return allocate(n, 0); }
void* operator new[](std::size_t n) { return allocate(n, 0); }
void* operator new(std::size_t n, std::align_val_t a) {
  return allocate(n, static_cast<std::size_t>(a));
}
void* operator new[](std::size_t n, std::align_val_t a) {
  return allocate(n, static_cast<std::size_t>(a));
}
void* operator new(std::size_t n, const std::nothrow_t&) noexcept { return allocateOrNull(n); }
void* operator new[](std::size_t n, const std::nothrow_t&) noexcept { return allocateOrNull(n); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete(void* p, std::size_t, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept { std::free(p); }
