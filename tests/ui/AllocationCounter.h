#pragma once
// Counts the allocations made with operator new while a piece of code runs.
// Linking AllocationCounter.cpp replaces the program's operator new.

#include <functional>

namespace wf::testing {

int AllocationsDuring(const std::function<void()>& code);

}  // namespace wf::testing
