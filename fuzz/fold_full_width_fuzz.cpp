// FoldFullWidth over any bytes a control could hold.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "schedule/fold_full_width.h"

namespace {

bool IsLead(char byte) { return static_cast<unsigned char>(byte) >= 0x80; }

// Characters of an already folded text: a lead byte always has its trail.
bool WholeCharacters(std::string_view text) {
  for (size_t i = 0; i < text.size(); ++i) {
    if (!IsLead(text[i])) continue;
    if (i + 1 == text.size()) return false;
    const auto lead = static_cast<unsigned char>(text[i]);
    const auto trail = static_cast<unsigned char>(text[i + 1]);
    // A character that folds must not be left behind.
    if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE) return false;
    if (lead == 0xA1 && (trail == 0xA1 || trail == 0xAB || trail == 0xEE || trail == 0xEF)) {
      return false;
    }
    ++i;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::string folded = FoldFullWidth(text);
  const std::string_view beforeZero = text.substr(0, text.find('\0'));

  FUZZ_CHECK(folded.size() <= beforeZero.size());
  FUZZ_CHECK(folded.find('\0') == std::string::npos);
  FUZZ_CHECK(WholeCharacters(folded));
  FUZZ_CHECK(FoldFullWidth(folded) == folded);
  // Only a two-byte character becomes one byte, and only a lone lead byte at
  // the end is dropped: the ASCII bytes of the text are all still there.
  size_t asciiBefore = 0;
  for (size_t i = 0; i < beforeZero.size(); ++i) {
    if (IsLead(beforeZero[i])) {
      ++i;
    } else {
      ++asciiBefore;
    }
  }
  size_t asciiAfter = 0;
  for (char byte : folded) asciiAfter += IsLead(byte) ? 0 : 1;
  FUZZ_CHECK(asciiAfter >= asciiBefore);
  return 0;
}
