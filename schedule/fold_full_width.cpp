#include "schedule/fold_full_width.h"

namespace {

// What a two-byte character folds to, or 0 when it stays as it is.
char FoldedCharacter(unsigned char lead, unsigned char trail) {
  if (lead == 0xA1) {
    switch (trail) {
      case 0xA1:
        return ' ';
      case 0xAB:
        return '~';
      case 0xEE:
      case 0xEF:
        return '*';
      default:
        return 0;
    }
  }
  // Row A3 holds the full-width twins of '!' to '~', in ASCII order.
  if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE) {
    return static_cast<char>(trail - 0x80);
  }
  return 0;
}

}  // namespace

std::string FoldFullWidth(std::string_view text) {
  text = text.substr(0, text.find('\0'));
  std::string folded;
  folded.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    if (lead < 0x80) {
      folded.push_back(text[i]);
      continue;
    }
    if (i + 1 == text.size()) {
      break;
    }
    const auto trail = static_cast<unsigned char>(text[i + 1]);
    if (char ascii = FoldedCharacter(lead, trail)) {
      folded.push_back(ascii);
    } else {
      folded.append(text.substr(i, 2));
    }
    ++i;
  }
  return folded;
}
