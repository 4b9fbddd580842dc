#include "AllocationCounter.h"

#include <cstdlib>
#include <new>

namespace {

bool gCounting = false;
int gAllocations = 0;

void* Allocate(std::size_t size) noexcept {
  if (gCounting) ++gAllocations;
  return std::malloc(size ? size : 1);
}

}  // namespace

// Every form of plain new and delete is replaced, so that memory from any of
// them is given back to the allocator it came from.
void* operator new(std::size_t size) {
  if (void* p = Allocate(size)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
  if (void* p = Allocate(size)) return p;
  throw std::bad_alloc();
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }

namespace wf::testing {

int AllocationsDuring(const std::function<void()>& code) {
  gAllocations = 0;
  gCounting = true;
  code();
  gCounting = false;
  return gAllocations;
}

}  // namespace wf::testing
