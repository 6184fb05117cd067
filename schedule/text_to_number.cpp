#include "schedule/text_to_number.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <system_error>

#include "schedule/fold_full_width.h"

namespace {

bool IsWhiteSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The longest prefix that forms a number, taken apart into what the
// decimal-to-double step needs.
struct NumberPrefix {
  bool found = false;
  bool negative = false;
  std::string_view mantissa;  // digits with at most one '.'
  std::string_view exponent;  // empty, or an optional sign and digits
};

NumberPrefix ScanNumberPrefix(std::string_view text) {
  NumberPrefix prefix;
  size_t pos = 0;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
    prefix.negative = text[pos] == '-';
    ++pos;
  }
  const size_t mantissaStart = pos;
  bool pointSeen = false;
  int digitCount = 0;
  for (; pos < text.size(); ++pos) {
    if (IsDigit(text[pos])) {
      ++digitCount;
    } else if (text[pos] == '.' && !pointSeen) {
      pointSeen = true;
    } else {
      break;
    }
  }
  if (digitCount == 0) {
    return prefix;
  }
  prefix.found = true;
  prefix.mantissa = text.substr(mantissaStart, pos - mantissaStart);

  // An exponent letter counts only with at least one digit after it (and
  // its sign); otherwise the number ends before the letter.
  if (pos < text.size() && std::string_view("eEdD").find(text[pos]) != std::string_view::npos) {
    size_t exponentPos = pos + 1;
    const size_t exponentStart = exponentPos;
    if (exponentPos < text.size() && (text[exponentPos] == '+' || text[exponentPos] == '-')) {
      ++exponentPos;
    }
    const size_t digitsStart = exponentPos;
    while (exponentPos < text.size() && IsDigit(text[exponentPos])) {
      ++exponentPos;
    }
    if (exponentPos > digitsStart) {
      prefix.exponent = text.substr(exponentStart, exponentPos - exponentStart);
    }
  }
  return prefix;
}

// Whether the value's first significant digit stands at 10^0 or higher, so
// that a value from_chars calls out of range is an overflow and not an
// underflow. The exponent is saturated; only its sign matters far out.
bool IsOutOfRangeLarge(const NumberPrefix& prefix) {
  int64_t exponent = 0;
  bool exponentNegative = false;
  for (char c : prefix.exponent) {
    if (c == '-') {
      exponentNegative = true;
    } else if (IsDigit(c) && exponent < 1'000'000'000'000) {
      exponent = exponent * 10 + (c - '0');
    }
  }
  if (exponentNegative) {
    exponent = -exponent;
  }
  // Position of the first non-zero digit relative to the point: 0 for the
  // units digit, positive to the left, negative to the right.
  const size_t point = prefix.mantissa.find('.');
  const auto integerDigits =
      static_cast<int64_t>(point == std::string_view::npos ? prefix.mantissa.size() : point);
  int64_t position = integerDigits;
  for (char c : prefix.mantissa) {
    if (c == '.') {
      continue;
    }
    --position;
    if (c != '0') {
      break;
    }
  }
  return exponent + position >= 0;
}

}  // namespace

double TextToNumber(std::string_view text) {
  std::string folded = FoldFullWidth(text);
  std::string_view rest = folded;
  while (!rest.empty() && IsWhiteSpace(rest.front())) {
    rest.remove_prefix(1);
  }
  const NumberPrefix prefix = ScanNumberPrefix(rest);
  if (!prefix.found) {
    return 0.0;
  }

  // from_chars reads no '+' and no Fortran-style 'd' exponent, so it gets the
  // magnitude in the form it knows; the sign is put back afterwards.
  std::string decimal(prefix.mantissa);
  if (!prefix.exponent.empty()) {
    decimal += 'e';
    decimal += prefix.exponent;
  }
  double magnitude = 0.0;
  const auto [end, error] = std::from_chars(decimal.data(), decimal.data() + decimal.size(),
                                            magnitude, std::chars_format::general);
  (void)end;
  if (error == std::errc::result_out_of_range) {
    magnitude = IsOutOfRangeLarge(prefix) ? std::numeric_limits<double>::infinity() : 0.0;
  }
  return prefix.negative ? -magnitude : magnitude;
}

int64_t SecondsToMilliseconds(double seconds) {
  const double milliseconds = seconds * 1000.0;
  if (std::isnan(milliseconds)) {
    return 0;
  }
  // 2^63 is exact as a double; anything from there on does not fit.
  constexpr double kTwoToThe63 = 9223372036854775808.0;
  if (milliseconds >= kTwoToThe63) {
    return std::numeric_limits<int64_t>::max();
  }
  if (milliseconds <= -kTwoToThe63) {
    return std::numeric_limits<int64_t>::min();
  }
  return static_cast<int64_t>(milliseconds);
}
