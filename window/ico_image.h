#pragma once
// Reading an icon file (ICO) held as bytes, and choosing the image the tray
// icon is made from. Every read is checked against the end of the bytes, so
// a truncated or broken file gives no image instead of a read past the end.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

// One 16-byte record of the directory, as the file stores it except that a
// width or height byte of 0 is given as the 256 it stands for.
struct IcoDirectoryEntry {
  int width;
  int height;
  // 0 for images of 256 colours or more, which includes every 8-bit image.
  uint8_t colorCount;
  uint16_t planes;
  uint16_t bitCount;
  uint32_t size;
  uint32_t offset;
};

constexpr uint16_t kIcoTypeIcon = 1;
constexpr uint16_t kIcoTypeCursor = 2;

struct IcoDirectory {
  uint16_t type;
  std::vector<IcoDirectoryEntry> entries;
};

// The whole directory: a zero word, type 1 or 2, a non-zero count and that
// many records within the bytes. Where each image's data lies is not checked.
std::optional<IcoDirectory> ReadIcoDirectory(std::span<const uint8_t> ico);

// An image ready to be made into an icon: its data lies at offset, size bytes
// long, inside the file's bytes; the size is what the image's own header says
// (for a bitmap image the header's height counts the colour rows and the mask
// rows, so height is half of it).
struct IcoImage {
  uint32_t offset;
  uint32_t size;
  int width;
  int height;
  uint16_t bitCount;
};

constexpr int kTrayIconWidth = 16;
// What the caller asks for when no icon came of the first choice.
constexpr int kTrayIconRetryWidth = 32;

// The first image whose directory width is `width` and whose colour-count
// byte is 16 or more, else the last image of the directory. Nothing when the
// directory is not valid, a record the choice reads lies past the end, the
// chosen image's data does not lie within the bytes, or its header is neither
// a bitmap header nor a PNG header with a positive size.
std::optional<IcoImage> ChooseIcoImage(std::span<const uint8_t> ico, int width);
