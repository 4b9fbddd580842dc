#pragma once
// The picture engine the program's atlas composes its frames with.

#include <memory>

#include "atlas/AtlasPicture.h"

namespace wf::app {

// The engine, its workers idle until it is given a map; null where the
// program has none, and the atlas then shows its background only.
std::unique_ptr<atlas::IAtlasPicture> MakeAtlasPicture();

}  // namespace wf::app
