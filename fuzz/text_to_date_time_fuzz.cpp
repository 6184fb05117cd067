// TextToDateTime over any date-time text the six boxes can be joined into.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "fuzz_check.h"
#include "schedule/date_time.h"

namespace {

bool IsEarliest(const CivilDateTime& civil) { return civil == CivilDateTime{100, 1, 1, 0, 0, 0}; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const DateTime value = TextToDateTime(text);
  const std::optional<CivilDateTime> parsed = ParseDateTimeText(text);
  if (value == EarliestDateTime) {
    // Either rejected, or the one date that is also the rejection's value.
    FUZZ_CHECK(!parsed || IsEarliest(*parsed));
    return 0;
  }
  FUZZ_CHECK(parsed.has_value());
  const CivilDateTime civil = CivilFromDateTime(value);
  FUZZ_CHECK(civil == *parsed);
  FUZZ_CHECK(DateTimeFromCivil(civil) == value);

  // The components, written back the way the boxes are joined, read as the
  // same value.
  const DateTimeFieldTexts fields{IntegerToText(civil.year),   IntegerToText(civil.month),
                                  IntegerToText(civil.day),    IntegerToText(civil.hour),
                                  IntegerToText(civil.minute), IntegerToText(civil.second)};
  FUZZ_CHECK(TextToDateTime(JoinDateTimeText(fields)) == value);
  return 0;
}
