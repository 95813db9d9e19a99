#pragma once

#include <string>

namespace kelpa::server::testing {

// A small real JPEG (a colour gradient), larger than the 300 bytes the client requires.
std::string testJpeg(int width = 64, int height = 48);

}  // namespace kelpa::server::testing
