// The skin library's parser over any file content.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "skin/skin_format.h"

namespace {

std::string Line(const char* name, SkinRgb rgb) {
  return std::string(name) + " = " + std::to_string(rgb.red) + " " + std::to_string(rgb.green) +
         " " + std::to_string(rgb.blue) + "\n";
}

// The colours written in the file's plainest form.
std::string CanonicalSkin(const SkinColours& colours) {
  return "tavrel-skin 1\n" + Line("window", colours.window) + Line("text", colours.text) +
         Line("face", colours.face) + Line("facetext", colours.faceText) +
         Line("frame", colours.frame) + Line("field", colours.field) +
         Line("fieldtext", colours.fieldText);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::optional<SkinColours> colours = ParseSkin(text);
  // A comment line in front, or one more line end, changes nothing.
  FUZZ_CHECK(ParseSkin("# comment\n" + std::string(text)) == colours);
  FUZZ_CHECK(ParseSkin(std::string(text) + "\n") == colours);
  if (!colours) return 0;
  FUZZ_CHECK(text.find('\0') == std::string_view::npos);
  FUZZ_CHECK(text.find("tavrel-skin 1") != std::string_view::npos);
  FUZZ_CHECK(ParseSkin(CanonicalSkin(*colours)) == colours);
  return 0;
}
