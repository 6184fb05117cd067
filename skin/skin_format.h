#pragma once
// The skin file of our SkinH_EL.dll: a short text that names the colours of
// the window and its controls. See README.md for the format.

#include <cstdint>
#include <optional>
#include <string_view>

struct SkinRgb {
  uint8_t red, green, blue;
  friend bool operator==(const SkinRgb&, const SkinRgb&) = default;
};

struct SkinColours {
  SkinRgb window;     // window and page background
  SkinRgb text;       // captions on the window background
  SkinRgb face;       // push buttons
  SkinRgb faceText;   // push button captions
  SkinRgb frame;      // the one-pixel frame around push buttons
  SkinRgb field;      // edit box background
  SkinRgb fieldText;  // edit box text
  friend bool operator==(const SkinColours&, const SkinColours&) = default;
};

// The colours of a well-formed skin; no value for empty or malformed data,
// whatever part of it was read.
std::optional<SkinColours> ParseSkin(std::string_view data);
