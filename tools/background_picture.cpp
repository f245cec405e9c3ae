#include "tools/background_picture.h"

#include <cmath>
#include <cstdint>
#include <numbers>

namespace tools {
namespace {

constexpr int kFileHeaderSize = 14;
constexpr int kInfoHeaderSize = 40;
constexpr int kBytesPerPixel = 3;
constexpr int kRowBytes = kBackgroundSide * kBytesPerPixel;  // already a multiple of 4
static_assert(kRowBytes % 4 == 0);
constexpr int kPixelBytes = kRowBytes * kBackgroundSide;

void Put16(std::string& out, std::uint16_t value) {
  out.push_back(static_cast<char>(value & 0xFF));
  out.push_back(static_cast<char>(value >> 8));
}
void Put32(std::string& out, std::uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<char>((value >> shift) & 0xFF));
}

// A soft diagonal weave on pale blue-grey. Every wave has a period dividing the
// tile's side, so the edges meet when the picture is tiled.
double Shade(int x, int y) {
  constexpr double kTurn = 2 * std::numbers::pi / 32;
  const double weave = std::sin(kTurn * (x + y)) * std::sin(kTurn * (x - y));
  const double grain = std::cos(kTurn * 4 * x) * std::cos(kTurn * 2 * y);
  return 7.0 * weave + 1.5 * grain;
}

char Channel(double base, double shade) { return static_cast<char>(static_cast<int>(std::lround(base + shade))); }

}  // namespace

std::string BackgroundBitmap() {
  std::string bmp;
  bmp.reserve(kFileHeaderSize + kInfoHeaderSize + kPixelBytes);
  bmp += "BM";
  Put32(bmp, kFileHeaderSize + kInfoHeaderSize + kPixelBytes);
  Put32(bmp, 0);
  Put32(bmp, kFileHeaderSize + kInfoHeaderSize);
  Put32(bmp, kInfoHeaderSize);
  Put32(bmp, kBackgroundSide);
  Put32(bmp, kBackgroundSide);  // positive: rows run bottom-up
  Put16(bmp, 1);
  Put16(bmp, kBytesPerPixel * 8);
  Put32(bmp, 0);  // no compression
  Put32(bmp, kPixelBytes);
  Put32(bmp, 2835);  // 72 dots per inch
  Put32(bmp, 2835);
  Put32(bmp, 0);
  Put32(bmp, 0);
  for (int y = 0; y < kBackgroundSide; ++y) {
    for (int x = 0; x < kBackgroundSide; ++x) {
      const double shade = Shade(x, y);
      bmp += Channel(242, shade);  // blue, green, red
      bmp += Channel(234, shade);
      bmp += Channel(226, shade);
    }
  }
  return bmp;
}

}  // namespace tools
