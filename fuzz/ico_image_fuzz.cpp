// The icon file's directory and the tray icon's choice over any bytes.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "fuzz_check.h"
#include "window/ico_image.h"

namespace {

// The rule of the choice, from the whole directory: the first record of the
// width with 16 colours or more, else the last.
const IcoDirectoryEntry& ExpectedChoice(const IcoDirectory& directory, int width) {
  for (const IcoDirectoryEntry& entry : directory.entries) {
    if (entry.width == width && entry.colorCount >= 16) return entry;
  }
  return directory.entries.back();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> ico(data, size);
  const std::optional<IcoDirectory> directory = ReadIcoDirectory(ico);
  if (directory) {
    FUZZ_CHECK(directory->type == kIcoTypeIcon || directory->type == kIcoTypeCursor);
    FUZZ_CHECK(!directory->entries.empty());
    FUZZ_CHECK(directory->entries.size() == (size_t{data[4]} | size_t{data[5]} << 8));
    FUZZ_CHECK(6 + 16 * directory->entries.size() <= size);
    for (const IcoDirectoryEntry& entry : directory->entries) {
      FUZZ_CHECK(entry.width >= 1 && entry.width <= 256);
      FUZZ_CHECK(entry.height >= 1 && entry.height <= 256);
    }
  }
  for (int width : {kTrayIconWidth, kTrayIconRetryWidth}) {
    const std::optional<IcoImage> image = ChooseIcoImage(ico, width);
    if (!image) continue;
    FUZZ_CHECK(uint64_t{image->offset} + image->size <= size);
    FUZZ_CHECK(image->width > 0 && image->height > 0);
    if (directory) {
      const IcoDirectoryEntry& expected = ExpectedChoice(*directory, width);
      FUZZ_CHECK(image->offset == expected.offset && image->size == expected.size);
    }
  }
  return 0;
}
