#include "skin/skin_format.h"

#include <array>
#include <charconv>
#include <cstddef>
#include <string_view>

namespace {

constexpr std::string_view kHeader = "tavrel-skin 1";

struct Key {
  std::string_view name;
  SkinRgb SkinColours::*member;
};

constexpr std::array<Key, 7> kKeys{{
    {"window", &SkinColours::window},
    {"text", &SkinColours::text},
    {"face", &SkinColours::face},
    {"facetext", &SkinColours::faceText},
    {"frame", &SkinColours::frame},
    {"field", &SkinColours::field},
    {"fieldtext", &SkinColours::fieldText},
}};

bool IsSpace(char c) { return c == ' ' || c == '\t'; }

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && (IsSpace(text.front()) || text.front() == '\r')) text.remove_prefix(1);
  while (!text.empty() && (IsSpace(text.back()) || text.back() == '\r')) text.remove_suffix(1);
  return text;
}

// Three decimal numbers from 0 to 255, separated by blanks, and nothing else.
std::optional<SkinRgb> ParseRgb(std::string_view text) {
  uint8_t parts[3];
  for (uint8_t& part : parts) {
    text = Trimmed(text);
    unsigned value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end == text.data() || value > 255) return std::nullopt;
    std::size_t used = static_cast<std::size_t>(end - text.data());
    if (used < text.size() && !IsSpace(text[used])) return std::nullopt;
    part = static_cast<uint8_t>(value);
    text.remove_prefix(used);
  }
  if (!Trimmed(text).empty()) return std::nullopt;
  return SkinRgb{parts[0], parts[1], parts[2]};
}

}  // namespace

std::optional<SkinColours> ParseSkin(std::string_view data) {
  // The data comes from a file of any content: a zero byte cannot be part of
  // a skin, and a text without one is easier to reason about.
  if (data.find('\0') != std::string_view::npos) return std::nullopt;
  SkinColours colours{};
  std::array<bool, kKeys.size()> seen{};
  bool headerSeen = false;
  while (!data.empty()) {
    std::size_t end = data.find('\n');
    std::string_view line = Trimmed(data.substr(0, end));
    data.remove_prefix(end == std::string_view::npos ? data.size() : end + 1);
    if (line.empty() || line.front() == '#') continue;
    if (!headerSeen) {
      if (line != kHeader) return std::nullopt;
      headerSeen = true;
      continue;
    }
    std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) return std::nullopt;
    std::string_view name = Trimmed(line.substr(0, equals));
    std::size_t index = 0;
    while (index < kKeys.size() && kKeys[index].name != name) ++index;
    if (index == kKeys.size() || seen[index]) return std::nullopt;
    std::optional<SkinRgb> rgb = ParseRgb(line.substr(equals + 1));
    if (!rgb) return std::nullopt;
    colours.*kKeys[index].member = *rgb;
    seen[index] = true;
  }
  for (bool each : seen) {
    if (!each) return std::nullopt;
  }
  return colours;
}
