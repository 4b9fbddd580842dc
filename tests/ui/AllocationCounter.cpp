#include "AllocationCounter.h"

#include <cstdlib>
#include <new>

namespace {

bool gCounting = false;
int gAllocations = 0;

}  // namespace

void* operator new(std::size_t size) {
  if (gCounting) ++gAllocations;
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace wf::testing {

int AllocationsDuring(const std::function<void()>& code) {
  gAllocations = 0;
  gCounting = true;
  code();
  gCounting = false;
  return gAllocations;
}

}  // namespace wf::testing
