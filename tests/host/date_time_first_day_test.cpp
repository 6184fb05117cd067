// The first day of the scheduler's range, 100-01-01, lies before 1899-12-30:
// its later times are the more negative values, below EarliestDateTime as
// numbers though not as moments. Found by the date-time fuzz target.
#include <gtest/gtest.h>

#include <limits>

#include "schedule/date_time.h"

namespace {

TEST(DateTimeFirstDay, EveryTimeOfTheFirstDayComesBackAsItself) {
  for (const CivilDateTime civil : {CivilDateTime{100, 1, 1, 0, 1, 2},
                                    CivilDateTime{100, 1, 1, 12, 0, 0},
                                    CivilDateTime{100, 1, 1, 23, 59, 59}}) {
    const DateTime value = DateTimeFromCivil(civil);
    EXPECT_LT(value, EarliestDateTime);
    EXPECT_EQ(CivilFromDateTime(value), civil) << value;
  }
}

TEST(DateTimeFirstDay, MomentsBeforeTheRangeStillClampToItsStart) {
  // 99-12-31 12:00 is one and a half days before the range in the OLE form.
  EXPECT_EQ(CivilFromDateTime(-657435.5), (CivilDateTime{100, 1, 1, 0, 0, 0}));
  EXPECT_EQ(CivilFromDateTime(-657435.0), (CivilDateTime{100, 1, 1, 0, 0, 0}));
  EXPECT_EQ(CivilFromDateTime(-std::numeric_limits<double>::infinity()),
            (CivilDateTime{100, 1, 1, 0, 0, 0}));
  EXPECT_EQ(CivilFromDateTime(std::numeric_limits<double>::infinity()),
            (CivilDateTime{9999, 12, 31, 23, 59, 59}));
}

TEST(DateTimeFirstDay, JoinedTextOfTheFirstDayReadsBackTheSameValue) {
  const DateTime value = TextToDateTime("100年1月1日0时01分2秒");
  ASSERT_NE(value, EarliestDateTime);
  const CivilDateTime civil = CivilFromDateTime(value);
  EXPECT_EQ(civil, (CivilDateTime{100, 1, 1, 0, 1, 2}));
  const DateTimeFieldTexts fields{IntegerToText(civil.year),   IntegerToText(civil.month),
                                  IntegerToText(civil.day),    IntegerToText(civil.hour),
                                  IntegerToText(civil.minute), IntegerToText(civil.second)};
  EXPECT_EQ(TextToDateTime(JoinDateTimeText(fields)), value);
}

}  // namespace
