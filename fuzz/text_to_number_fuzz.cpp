// TextToNumber over any countdown text, and over every form a double can be
// written in.
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "schedule/fold_full_width.h"
#include "schedule/text_to_number.h"

namespace {

bool SameDouble(double a, double b) { return a == b && std::signbit(a) == std::signbit(b); }

std::string Formatted(double value, std::chars_format format) {
  char buffer[512];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, format);
  FUZZ_CHECK(result.ec == std::errc());
  return std::string(buffer, result.ptr);
}

// The text as an input method's full-width mode types it.
std::string FullWidth(std::string_view text) {
  std::string wide;
  for (char c : text) {
    wide += '\xA3';
    wide += static_cast<char>(static_cast<unsigned char>(c) + 0x80);
  }
  return wide;
}

void CheckRoundTrip(double value) {
  for (std::chars_format format :
       {std::chars_format::general, std::chars_format::scientific, std::chars_format::fixed}) {
    const std::string text = Formatted(value, format);
    FUZZ_CHECK(SameDouble(TextToNumber(text), value));
    FUZZ_CHECK(SameDouble(TextToNumber(" \t" + text + "s"), value));
    FUZZ_CHECK(SameDouble(TextToNumber("\xA1\xA1" + FullWidth(text)), value));
    std::string fortran = text;
    for (char& c : fortran) {
      if (c == 'e') c = 'D';
    }
    FUZZ_CHECK(SameDouble(TextToNumber(fortran), value));
    if (!std::signbit(value)) FUZZ_CHECK(SameDouble(TextToNumber("+" + text), value));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const double number = TextToNumber(text);
  // No text spells NaN, and folding first changes nothing, as the reader
  // folds anyway.
  FUZZ_CHECK(!std::isnan(number));
  FUZZ_CHECK(SameDouble(TextToNumber(FoldFullWidth(text)), number));
  // The millisecond count is defined for every number the reader gives.
  const int64_t milliseconds = SecondsToMilliseconds(number);
  if (number >= 0) FUZZ_CHECK(milliseconds >= 0);
  if (number <= 0) FUZZ_CHECK(milliseconds <= 0);

  if (size >= sizeof(double)) {
    double value;
    std::memcpy(&value, data, sizeof value);
    if (std::isfinite(value)) CheckRoundTrip(value);
  }
  return 0;
}
