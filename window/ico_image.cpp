#include "window/ico_image.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <ranges>

namespace {

constexpr size_t kHeaderSize = 6;
constexpr size_t kEntrySize = 16;
constexpr size_t kBitmapInfoHeaderSize = 40;
constexpr int kMinimumColorCount = 16;
constexpr std::array<uint8_t, 8> kPngSignature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
// Signature, then the IHDR chunk's length and type, width, height, bit depth
// and colour type.
constexpr size_t kPngHeaderSize = 8 + 8 + 4 + 4 + 1 + 1;

// Every field of the file is little-endian; PNG's own header is big-endian.
uint16_t ReadU16(std::span<const uint8_t> bytes, size_t at) {
  return static_cast<uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

uint32_t ReadU32(std::span<const uint8_t> bytes, size_t at) {
  return static_cast<uint32_t>(bytes[at]) | static_cast<uint32_t>(bytes[at + 1]) << 8 |
         static_cast<uint32_t>(bytes[at + 2]) << 16 | static_cast<uint32_t>(bytes[at + 3]) << 24;
}

uint32_t ReadU32BigEndian(std::span<const uint8_t> bytes, size_t at) {
  return static_cast<uint32_t>(bytes[at]) << 24 | static_cast<uint32_t>(bytes[at + 1]) << 16 |
         static_cast<uint32_t>(bytes[at + 2]) << 8 | static_cast<uint32_t>(bytes[at + 3]);
}

// The image count when the bytes begin with a valid directory header.
std::optional<uint16_t> ReadImageCount(std::span<const uint8_t> ico, uint16_t& type) {
  if (ico.size() < kHeaderSize) return std::nullopt;
  type = ReadU16(ico, 2);
  const uint16_t count = ReadU16(ico, 4);
  if (ReadU16(ico, 0) != 0) return std::nullopt;
  if (type != kIcoTypeIcon && type != kIcoTypeCursor) return std::nullopt;
  if (count == 0) return std::nullopt;
  return count;
}

std::optional<IcoDirectoryEntry> ReadEntry(std::span<const uint8_t> ico, size_t index) {
  const size_t at = kHeaderSize + index * kEntrySize;
  if (at + kEntrySize > ico.size()) return std::nullopt;
  // A size byte of 0 is how the format writes 256.
  const auto pixels = [](uint8_t stored) { return stored == 0 ? 256 : int{stored}; };
  return IcoDirectoryEntry{
      .width = pixels(ico[at]),
      .height = pixels(ico[at + 1]),
      .colorCount = ico[at + 2],
      .planes = ReadU16(ico, at + 4),
      .bitCount = ReadU16(ico, at + 6),
      .size = ReadU32(ico, at + 8),
      .offset = ReadU32(ico, at + 12),
  };
}

std::optional<IcoImage> ReadBitmapImage(std::span<const uint8_t> data, uint32_t offset) {
  if (data.size() < kBitmapInfoHeaderSize) return std::nullopt;
  const uint32_t headerSize = ReadU32(data, 0);
  if (headerSize < kBitmapInfoHeaderSize || headerSize > data.size()) return std::nullopt;
  const auto width = static_cast<int32_t>(ReadU32(data, 4));
  const auto heightWithMask = static_cast<int32_t>(ReadU32(data, 8));
  const int32_t height = heightWithMask / 2;
  if (width <= 0 || height <= 0) return std::nullopt;
  return IcoImage{.offset = offset,
                  .size = static_cast<uint32_t>(data.size()),
                  .width = width,
                  .height = height,
                  .bitCount = ReadU16(data, 14)};
}

uint16_t PngBitsPerPixel(uint8_t bitDepth, uint8_t colorType) {
  // Channels by colour type: grey, -, RGB, palette, grey and alpha, -, RGBA.
  constexpr std::array<uint8_t, 7> kChannels = {1, 0, 3, 1, 2, 0, 4};
  if (colorType >= kChannels.size()) return 0;
  return static_cast<uint16_t>(bitDepth * kChannels[colorType]);
}

std::optional<IcoImage> ReadPngImage(std::span<const uint8_t> data, uint32_t offset) {
  if (data.size() < kPngHeaderSize) return std::nullopt;
  const auto width = static_cast<int32_t>(ReadU32BigEndian(data, 16));
  // A PNG image carries no mask rows, so its height is its own.
  const auto height = static_cast<int32_t>(ReadU32BigEndian(data, 20));
  if (width <= 0 || height <= 0) return std::nullopt;
  return IcoImage{.offset = offset,
                  .size = static_cast<uint32_t>(data.size()),
                  .width = width,
                  .height = height,
                  .bitCount = PngBitsPerPixel(data[24], data[25])};
}

bool StartsWithPngSignature(std::span<const uint8_t> data) {
  return data.size() >= kPngSignature.size() &&
         std::ranges::equal(data.first(kPngSignature.size()), kPngSignature);
}

std::optional<IcoImage> ReadImage(std::span<const uint8_t> ico, const IcoDirectoryEntry& entry) {
  // Compared in 64 bits: offset + size may pass 4 GiB in a broken file.
  if (uint64_t{entry.offset} + entry.size > ico.size()) return std::nullopt;
  const auto data = ico.subspan(entry.offset, entry.size);
  if (StartsWithPngSignature(data)) return ReadPngImage(data, entry.offset);
  return ReadBitmapImage(data, entry.offset);
}

}  // namespace

std::optional<IcoDirectory> ReadIcoDirectory(std::span<const uint8_t> ico) {
  IcoDirectory directory{};
  const std::optional<uint16_t> count = ReadImageCount(ico, directory.type);
  if (!count) return std::nullopt;
  for (size_t index = 0; index < *count; ++index) {
    const std::optional<IcoDirectoryEntry> entry = ReadEntry(ico, index);
    if (!entry) return std::nullopt;
    directory.entries.push_back(*entry);
  }
  return directory;
}

std::optional<IcoImage> ChooseIcoImage(std::span<const uint8_t> ico, int width) {
  uint16_t type = 0;
  const std::optional<uint16_t> count = ReadImageCount(ico, type);
  if (!count) return std::nullopt;
  // The colour-count byte is 0 for 256 colours and more, so "16 or more"
  // matches only 16-colour images (and odd counts up to 255): an 8-bit or
  // 32-bit image never matches. The application icon holds a 32 x 32 8-bit
  // and a 48 x 48 32-bit image; neither matches for 16 or for 32, so the last
  // one, 48 x 48, is chosen both times and the shell scales it down.
  std::optional<IcoDirectoryEntry> chosen;
  for (size_t index = 0; index < *count; ++index) {
    chosen = ReadEntry(ico, index);
    if (!chosen) return std::nullopt;
    if (chosen->width == width && chosen->colorCount >= kMinimumColorCount) break;
  }
  return ReadImage(ico, *chosen);
}
