#pragma once

#include <string>

namespace tessaly::demo {

// A picture the demo marketplace can serve: an RGB PNG of about `kilobytes` KB
// (square, stored without compression so that its size is what was asked), in
// colours chosen by `variant`. Any image viewer opens it, whatever its file name.
std::string GeneratedPng(int kilobytes, int variant);

}  // namespace tessaly::demo
