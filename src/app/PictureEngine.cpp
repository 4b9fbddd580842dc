#include "app/PictureEngine.h"

namespace wf::app {

// The picture engine is not part of the program yet.
std::unique_ptr<atlas::IAtlasPicture> MakeAtlasPicture() { return nullptr; }

}  // namespace wf::app
