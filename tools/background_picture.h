// The main window's default background: a quiet, tileable texture drawn here rather
// than shipped, written as a 24-bit Windows bitmap file.
#pragma once

#include <string>

namespace tools {

constexpr int kBackgroundSide = 64;  // pixels; the texture repeats seamlessly at this size

std::string BackgroundBitmap();

}  // namespace tools
