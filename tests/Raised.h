#pragma once
// The message a call raised, for tests of what the program tells the player.

#include <string>

namespace wf::testing {

// The message of the `E` that `call` raised, or "nothing raised"; an error of
// another kind goes on to fail the test.
template <typename E, typename F>
std::string Raised(F&& call) {
  try {
    call();
  } catch (const E& e) {
    return e.what();
  }
  return "nothing raised";
}

}  // namespace wf::testing
