#include "png_image.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

namespace tessaly::demo {
namespace {

std::uint32_t Crc32(const std::string& bytes, std::size_t start) {
  static const std::array<std::uint32_t, 256> table = [] {
    std::array<std::uint32_t, 256> entries{};
    for (std::uint32_t n = 0; n < 256; ++n) {
      std::uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      entries[n] = c;
    }
    return entries;
  }();
  std::uint32_t crc = 0xFFFFFFFFu;
  for (std::size_t i = start; i < bytes.size(); ++i) {
    crc = table[(crc ^ static_cast<std::uint8_t>(bytes[i])) & 0xFF] ^ (crc >> 8);
  }
  return crc ^ 0xFFFFFFFFu;
}

std::uint32_t Adler32(const std::string& bytes) {
  std::uint32_t a = 1;
  std::uint32_t b = 0;
  for (const char byte : bytes) {
    a = (a + static_cast<std::uint8_t>(byte)) % 65521;
    b = (b + a) % 65521;
  }
  return (b << 16) | a;
}

void PutBigEndian(std::string& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<char>(value >> shift));
}

void PutChunk(std::string& png, const char* type, const std::string& data) {
  PutBigEndian(png, static_cast<std::uint32_t>(data.size()));
  const std::size_t typed = png.size();
  png.append(type, 4);
  png += data;
  PutBigEndian(png, Crc32(png, typed));
}

// A zlib stream of stored (uncompressed) deflate blocks.
std::string StoredZlib(const std::string& raw) {
  constexpr std::size_t kBlock = 65535;
  std::string out = "\x78\x01";
  std::size_t offset = 0;
  do {
    const std::size_t length = std::min(kBlock, raw.size() - offset);
    const bool last = offset + length == raw.size();
    out.push_back(last ? 1 : 0);
    out.push_back(static_cast<char>(length & 0xFF));
    out.push_back(static_cast<char>(length >> 8));
    out.push_back(static_cast<char>(~length & 0xFF));
    out.push_back(static_cast<char>((~length >> 8) & 0xFF));
    out.append(raw, offset, length);
    offset += length;
  } while (offset < raw.size());
  PutBigEndian(out, Adler32(raw));
  return out;
}

}  // namespace

std::string GeneratedPng(int kilobytes, int variant) {
  const int side = std::max(8, static_cast<int>(std::sqrt(std::max(1, kilobytes) * 1024.0 / 3)));
  // A base colour per variant, shaded towards white down the picture, with a
  // diagonal band so that pictures of one product do not all look the same.
  static constexpr std::array<std::array<int, 3>, 6> kBases = {{{0x0F, 0x76, 0x6E},
                                                                {0xC2, 0x41, 0x0C},
                                                                {0x1D, 0x4E, 0xD8},
                                                                {0xA1, 0x62, 0x07},
                                                                {0x7E, 0x22, 0xCE},
                                                                {0xBE, 0x12, 0x3C}}};
  const auto& base = kBases[static_cast<std::size_t>(variant) % kBases.size()];
  const int band = (variant * 37) % side;

  std::string raw;
  raw.reserve(static_cast<std::size_t>(side) * (side * 3 + 1));
  for (int y = 0; y < side; ++y) {
    raw.push_back(0);  // filter type None
    for (int x = 0; x < side; ++x) {
      const bool in_band = std::abs((x + y) % side - band) < side / 10;
      for (int channel = 0; channel < 3; ++channel) {
        const int shaded = base[channel] + (255 - base[channel]) * y / (2 * side);
        raw.push_back(static_cast<char>(in_band ? 255 - shaded / 3 : shaded));
      }
    }
  }

  std::string png = "\x89PNG\r\n\x1a\n";
  std::string header;
  PutBigEndian(header, static_cast<std::uint32_t>(side));
  PutBigEndian(header, static_cast<std::uint32_t>(side));
  header += std::string("\x08\x02\x00\x00\x00", 5);  // 8 bits, RGB, deflate, no interlace
  PutChunk(png, "IHDR", header);
  PutChunk(png, "IDAT", StoredZlib(raw));
  PutChunk(png, "IEND", "");
  return png;
}

}  // namespace tessaly::demo
