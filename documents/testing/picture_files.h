// Test helpers: the first bytes of BMP and PNG files, as much as the page head reads to
// size a logo, and a file written with them.
#pragma once

#include <cstdint>
#include <fstream>
#include <string>

namespace documents::testing {

inline void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

inline std::string LittleEndian(std::int32_t value) {
  std::string bytes(4, '\0');
  for (int i = 0; i < 4; ++i) bytes[static_cast<std::size_t>(i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
  return bytes;
}

// A BMP of the given size; a negative height is top-down.
inline std::string BmpHeader(std::int32_t width, std::int32_t height) {
  return "BM" + std::string(16, '\0') + LittleEndian(width) + LittleEndian(height) + std::string(8, '\0');
}

inline std::string PngHeader(std::uint8_t width, std::uint8_t height) {
  return std::string("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR", 16) + std::string(3, '\0') + char(width) +
         std::string(3, '\0') + char(height) + std::string(6, '\0');
}

}  // namespace documents::testing
