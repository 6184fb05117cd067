// TrimBlanks over any path text.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "shell/skin_path.h"

namespace {

bool IsLead(char byte) { return static_cast<unsigned char>(byte) >= 0x80; }

bool IsBlankAt(std::string_view text, size_t at) {
  return text[at] == ' ' || text.substr(at).starts_with("\xA1\xA1");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::string trimmed = TrimBlanks(text);

  FUZZ_CHECK(trimmed.size() <= text.size());
  FUZZ_CHECK(text.find(trimmed) != std::string_view::npos);
  FUZZ_CHECK(TrimBlanks(trimmed) == trimmed);
  if (trimmed.empty()) return 0;
  FUZZ_CHECK(!IsBlankAt(trimmed, 0));
  // The last character, found by walking from the start: a trail byte of
  // 0xA1 after another lead is not a blank.
  size_t last = 0;
  for (size_t at = 0; at < trimmed.size(); at += IsLead(trimmed[at]) ? 2 : 1) {
    FUZZ_CHECK(!IsLead(trimmed[at]) || at + 1 < trimmed.size());
    last = at;
  }
  FUZZ_CHECK(!IsBlankAt(trimmed, last));
  return 0;
}
