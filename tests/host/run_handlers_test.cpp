#include "schedule/run_handlers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "actions_fakes.h"
#include "schedule/time_zone.h"

namespace {

using enum ControlName;

constexpr int64_t kSecondsPerHour = 3600;

// A zone eight hours east of UTC without daylight time, as China keeps.
int64_t ChinaLocalToUtc(const CivilDateTime& local) {
  return UtcSecondsFromCivil(local) - 8 * kSecondsPerHour;
}

// The clock, the zone, the wait and the message box. Every call is written
// into the shared log, so a test sees it in order with the controls and the
// action.
class FakeScheduleServices : public ScheduleServices {
 public:
  explicit FakeScheduleServices(EventLog& log) : log_(log) {}

  CivilDateTime localNow{2024, 5, 10, 16, 30, 5};
  std::function<int64_t(const CivilDateTime&)> localToUtc = ChinaLocalToUtc;
  // Runs inside the wait, where in the program the thread sleeps.
  std::function<void()> duringWait;

  std::vector<int64_t> waits;
  std::vector<std::string> messages;
  std::vector<CivilDateTime> convertedTargets;
  int localNowReadings = 0;

  CivilDateTime CurrentLocalDateTime() override {
    log_.push_back("local now?");
    ++localNowReadings;
    return localNow;
  }
  int64_t CurrentUtcSeconds() override {
    log_.push_back("utc now?");
    return localToUtc(localNow);
  }
  int64_t LocalToUtcSeconds(const CivilDateTime& local) override {
    log_.push_back("to utc");
    convertedTargets.push_back(local);
    return localToUtc(local);
  }
  // The steady clock; a test moves it to stand for time spent in a step.
  int64_t monotonic = 5000;
  int64_t MonotonicMilliseconds() override { return monotonic; }
  void WaitMilliseconds(int64_t milliseconds) override {
    log_.push_back("wait " + std::to_string(milliseconds));
    waits.push_back(milliseconds);
    if (duringWait) duringWait();
  }
  void ShowInformation(std::string_view text) override {
    log_.push_back("message");
    messages.emplace_back(text);
  }

 private:
  EventLog& log_;
};

bool Contains(const EventLog& log, const std::string& entry) {
  return std::find(log.begin(), log.end(), entry) != log.end();
}

int CountStartingWith(const EventLog& log, const std::string& prefix) {
  return static_cast<int>(std::count_if(
      log.begin(), log.end(), [&](const std::string& entry) { return entry.starts_with(prefix); }));
}

// The entries of the log that are not reads of a control, in order.
EventLog Effects(const EventLog& log) {
  EventLog effects;
  for (const std::string& entry : log) {
    if (!entry.starts_with("text? ") && !entry.starts_with("checked? ")) effects.push_back(entry);
  }
  return effects;
}

struct Fixture {
  EventLog log;
  FakeControls controls{log};
  FakeScheduleServices services{log};
  FakeActionCalls calls{log};

  Fixture() { controls.checked[关机单选框] = 1; }

  void SetFields(const std::string& year, const std::string& month, const std::string& day,
                 const std::string& hour, const std::string& minute, const std::string& second) {
    controls.texts[年编辑框] = year;
    controls.texts[月编辑框] = month;
    controls.texts[日编辑框] = day;
    controls.texts[时编辑框] = hour;
    controls.texts[分编辑框] = minute;
    controls.texts[秒编辑框] = second;
  }
  void SetFields(const CivilDateTime& at) {
    SetFields(std::to_string(at.year), std::to_string(at.month), std::to_string(at.day),
              std::to_string(at.hour), std::to_string(at.minute), std::to_string(at.second));
  }
};

// --- Countdown --------------------------------------------------------------

TEST(RunCountdownTest, EmptyBoxDoesNothingAtAll) {
  Fixture f;
  f.controls.texts[倒计时编辑框] = "";
  RunCountdown(f.controls, f.services, f.calls);
  EXPECT_EQ(f.log, (EventLog{"text? 倒计时"}));
  EXPECT_TRUE(f.services.waits.empty());
}

struct CountdownCase {
  std::string text;
  int64_t milliseconds;
};

TEST(RunCountdownTest, HidesWaitsTheEnteredTimeThenActs) {
  const CountdownCase cases[] = {
      {"120", 120000},
      {" ", 0},
      {"   ", 0},
      {"abc", 0},
      {"0x10", 0},
      {"inf", 0},
      {"-5", -5000},
      {"1.5", 1500},
      {"1.001", 1000},
      {"0.0009", 0},
      {" 90", 90000},
      {"90s", 90000},
      {"1,5", 1000},
      {"1e3", 1000000},
      {"1d3", 1000000},
      // Full-width digits and point behind an ideographic space.
      {"\xA1\xA1\xA3\xB1\xA3\xAE\xA3\xB5", 1500},
      {"\xA3\xB1\xA3\xB2\xA3\xB0", 120000},
      {"2147483.647", 2147483647},
      // Beyond the 32-bit range the count is handed on in full.
      {"2147483.648", 2147483648},
      {"2592000", 2592000000},
      {"-2147483.649", -2147483649},
      {"1e999", std::numeric_limits<int64_t>::max()},
      {"-1e999", std::numeric_limits<int64_t>::min()},
  };
  for (const CountdownCase& c : cases) {
    Fixture f;
    f.controls.texts[倒计时编辑框] = c.text;
    RunCountdown(f.controls, f.services, f.calls);
    EXPECT_EQ(Effects(f.log),
              (EventLog{"hide", "wait " + std::to_string(c.milliseconds), "power 1 forced"}))
        << "[" << c.text << "]";
    // A run leaves the box as it was.
    EXPECT_EQ(f.controls.texts[倒计时编辑框], c.text);
  }
}

TEST(RunCountdownTest, BoxIsReadAgainAfterHiding) {
  Fixture f;
  f.controls.texts[倒计时编辑框] = "5";
  f.controls.onWriteVisible = [&](bool) { f.controls.texts[倒计时编辑框] = "7"; };
  RunCountdown(f.controls, f.services, f.calls);
  EXPECT_EQ(f.services.waits, (std::vector<int64_t>{7000}));
}

TEST(RunCountdownTest, BoxEmptiedWhileHidingWaitsNothingAndStillActs) {
  Fixture f;
  f.controls.texts[倒计时编辑框] = "5";
  f.controls.onWriteVisible = [&](bool) { f.controls.texts[倒计时编辑框] = ""; };
  RunCountdown(f.controls, f.services, f.calls);
  EXPECT_EQ(Effects(f.log), (EventLog{"hide", "wait 0", "power 1 forced"}));
}

struct HideTimeCase {
  const char* text;
  int64_t hideMs;
  int64_t wait;
};

// The entered time counts from the click, so the time the window takes to
// hide comes off the wait; a wait that has already passed acts at once.
TEST(RunCountdownTest, TimeSpentHidingComesOffTheWait) {
  const HideTimeCase cases[] = {
      {"2", 0, 2000}, {"2", 13, 1987}, {"0.01", 30, -20}, {"0", 30, 0}, {"-5", 30, -5000},
      {"1e999", 30, INT64_MAX - 30},
  };
  for (const HideTimeCase& c : cases) {
    SCOPED_TRACE(c.text);
    Fixture f;
    f.controls.texts[倒计时编辑框] = c.text;
    f.controls.onWriteVisible = [&](bool) { f.services.monotonic += c.hideMs; };
    RunCountdown(f.controls, f.services, f.calls);
    EXPECT_EQ(f.services.waits, (std::vector<int64_t>{c.wait}));
  }
}

TEST(RunCountdownTest, ActionFollowsTheButtonsAsTheyAreAfterTheWait) {
  Fixture f;
  f.controls.texts[倒计时编辑框] = "2";
  f.controls.texts[CMD编辑框] = "cmd.exe /c echo";
  f.services.duringWait = [&] {
    f.controls.checked[关机单选框] = 0;
    f.controls.checked[CMD单选框] = 1;
  };
  RunCountdown(f.controls, f.services, f.calls);
  EXPECT_EQ(Effects(f.log), (EventLog{"hide", "wait 2000", "start [cmd.exe /c echo] nowait"}));
  // No button was read before the wait had ended.
  const auto wait = std::find(f.log.begin(), f.log.end(), "wait 2000");
  EXPECT_TRUE(std::none_of(f.log.begin(), wait,
                           [](const std::string& e) { return e.starts_with("checked? "); }));
}

TEST(RunCountdownTest, WithNoButtonCheckedTheWaitEndsWithoutAction) {
  Fixture f;
  f.controls.checked.clear();
  f.controls.texts[倒计时编辑框] = "1";
  RunCountdown(f.controls, f.services, f.calls);
  EXPECT_EQ(Effects(f.log), (EventLog{"hide", "wait 1000"}));
}

// --- Date and time -----------------------------------------------------------

class EmptyFieldTest : public ::testing::TestWithParam<ControlName> {};

TEST_P(EmptyFieldTest, ShowsTheIncompleteMessageAndSchedulesNothing) {
  Fixture f;
  f.SetFields("2024", "5", "10", "18", "30", "5");
  f.controls.texts[GetParam()] = "";
  RunAtDateTime(f.controls, f.services, f.calls);
  EXPECT_EQ(f.services.messages,
            (std::vector<std::string>{std::string(kIncompleteDateTimeMessage)}));
  EXPECT_EQ(Effects(f.log), (EventLog{"message"}));
}

// Clearing 秒编辑框 alone is enough, though the text without seconds would
// read as a date and time.
INSTANTIATE_TEST_SUITE_P(EachField, EmptyFieldTest,
                         ::testing::Values(年编辑框, 月编辑框, 日编辑框, 时编辑框, 分编辑框,
                                           秒编辑框),
                         [](const ::testing::TestParamInfo<ControlName>& info) -> std::string {
                           switch (info.param) {
                             case 年编辑框:
                               return "Year";
                             case 月编辑框:
                               return "Month";
                             case 日编辑框:
                               return "Day";
                             case 时编辑框:
                               return "Hour";
                             case 分编辑框:
                               return "Minute";
                             default:
                               return "Second";
                           }
                         });

TEST(RunAtDateTimeTest, IncompleteMessageIsTheProgramsOwnText) {
  EXPECT_EQ(kIncompleteDateTimeMessage,
            "\xC7\xEB\xCA\xE4\xC8\xEB\xCD\xEA\xD5\xFB\xB5\xC4\xCA\xB1\xBC\xE4\xA3\xAC"
            "\xC8\xE7\xB9\xFB\xD0\xE8\xD2\xAA\xC1\xA2\xBC\xB4\xD6\xB4\xD0\xD0\xA3\xAC"
            "\xC7\xEB\xCA\xB9\xD3\xC3\xB2\xD9\xD7\xF7\xB2\xCB\xB5\xA5\xD1\xA1\xCF\xEE");
}

TEST(RunAtDateTimeTest, EmptyFieldWinsOverAnInvalidOne) {
  Fixture f;
  f.SetFields("2024", "2", "30", "24", "30", "");
  RunAtDateTime(f.controls, f.services, f.calls);
  EXPECT_EQ(f.services.messages,
            (std::vector<std::string>{std::string(kIncompleteDateTimeMessage)}));
}

struct RejectedCase {
  const char* what;
  std::string year, month, day, hour, minute, second;
};

TEST(RunAtDateTimeTest, RejectedTextShowsTheInvalidMessageAndNeverActs) {
  const RejectedCase cases[] = {
      {"hour 24", "2024", "5", "10", "24", "10", "0"},
      {"hour 25", "2024", "5", "10", "25", "10", "0"},
      {"30 February", "2024", "2", "30", "12", "0", "0"},
      {"29 February of a common year", "2023", "2", "29", "12", "0", "0"},
      {"31 April", "2024", "4", "31", "12", "0", "0"},
      {"month 13", "2024", "13", "1", "12", "0", "0"},
      {"day 0", "2024", "5", "0", "12", "0", "0"},
      {"minute 60", "2024", "5", "10", "12", "60", "0"},
      {"second 60", "2024", "5", "10", "12", "0", "60"},
      {"year below 100", "99", "5", "10", "12", "0", "0"},
      {"three-digit minute", "2024", "5", "10", "12", "005", "0"},
      {"space before the digits", "2024", "5", "10", " 12", "0", "0"},
      {"letters", "2024", "5", "10", "ab", "0", "0"},
      {"five-digit year", "20245", "5", "10", "12", "0", "0"},
  };
  for (const RejectedCase& c : cases) {
    Fixture f;
    f.SetFields(c.year, c.month, c.day, c.hour, c.minute, c.second);
    RunAtDateTime(f.controls, f.services, f.calls);
    EXPECT_EQ(f.services.messages, (std::vector<std::string>{std::string(kInvalidDateTimeMessage)}))
        << c.what;
    EXPECT_EQ(Effects(f.log), (EventLog{"message"})) << c.what;
  }
}

TEST(RunAtDateTimeTest, HidesTakesTheClickWaitsThenActs) {
  Fixture f;
  f.SetFields("2024", "5", "10", "18", "30", "5");
  RunAtDateTime(f.controls, f.services, f.calls);
  EXPECT_EQ(Effects(f.log),
            (EventLog{"hide", "utc now?", "to utc", "wait 7200000", "power 1 forced"}));
  EXPECT_EQ(f.services.convertedTargets, (std::vector<CivilDateTime>{{2024, 5, 10, 18, 30, 5}}));
  EXPECT_TRUE(f.services.messages.empty());
}

TEST(RunAtDateTimeTest, TargetSecondsAheadOrBehindWaitsThatSpanTimesAThousand) {
  // Click at 2024-05-10 16:30:05 local time.
  const int64_t spans[] = {0,       1,       3,  59,     7200,     86400,    2147483,
                           2147484, 2592000, -1, -10800, -2147483, -2147484, -31536000};
  for (int64_t span : spans) {
    Fixture f;
    // The fake zone has no daylight time, so the target's wall time is the
    // click's plus the span.
    f.SetFields(CivilFromDateTime(DateTimeFromCivil(f.services.localNow) + span / 86400.0));
    RunAtDateTime(f.controls, f.services, f.calls);
    EXPECT_EQ(f.services.waits, (std::vector<int64_t>{span * 1000})) << span;
    EXPECT_TRUE(Contains(f.log, "power 1 forced")) << span;
    EXPECT_EQ(CountStartingWith(f.log, "power "), 1) << span;
  }
}

TEST(RunAtDateTimeTest, UntouchedFieldsClickedLaterActAtOnce) {
  // Started at 10:00:00: the fields read 12:00:00. Clicked at 13:00:00.
  Fixture f;
  f.services.localNow = {2024, 5, 10, 10, 0, 0};
  PrefillDateTimeFields(f.controls, f.services);
  f.services.localNow = {2024, 5, 10, 13, 0, 0};
  f.log.clear();
  RunAtDateTime(f.controls, f.services, f.calls);
  ASSERT_EQ(f.services.waits.size(), 1u);
  EXPECT_EQ(f.services.waits[0], -3600000);
  EXPECT_TRUE(Contains(f.log, "power 1 forced"));
}

TEST(RunAtDateTimeTest, LateEveningPrefillIsAValidTargetOnTheNextDay) {
  Fixture f;
  f.services.localNow = {2024, 5, 10, 22, 10, 0};
  PrefillDateTimeFields(f.controls, f.services);
  RunAtDateTime(f.controls, f.services, f.calls);
  EXPECT_TRUE(f.services.messages.empty());
  EXPECT_EQ(f.services.waits, (std::vector<int64_t>{7200000}));
  EXPECT_EQ(f.services.convertedTargets, (std::vector<CivilDateTime>{{2024, 5, 11, 0, 10, 0}}));
}

TEST(RunAtDateTimeTest, FullWidthAndUnitCharactersInTheFieldsAreRead) {
  Fixture f;
  // "２０２４" "０５" "１０" "１６" "３０" and "１０秒 later" in the seconds box:
  // whatever follows a typed 秒 is ignored.
  f.SetFields("\xA3\xB2\xA3\xB0\xA3\xB2\xA3\xB4", "\xA3\xB0\xA3\xB5", "\xA3\xB1\xA3\xB0",
              "\xA3\xB1\xA3\xB6", "\xA3\xB3\xA3\xB0", "\xA3\xB1\xA3\xB0\xC3\xEB later");
  RunAtDateTime(f.controls, f.services, f.calls);
  EXPECT_EQ(f.services.waits, (std::vector<int64_t>{5000}));
  EXPECT_TRUE(Contains(f.log, "power 1 forced"));
}

TEST(RunAtDateTimeTest, ActionFollowsTheButtonsAsTheyAreAfterTheWait) {
  Fixture f;
  f.SetFields("2024", "5", "10", "16", "30", "7");
  f.services.duringWait = [&] {
    f.controls.checked[关机单选框] = 0;
    f.controls.checked[休眠单选框] = 1;
  };
  RunAtDateTime(f.controls, f.services, f.calls);
  EXPECT_EQ(Effects(f.log),
            (EventLog{"hide", "utc now?", "to utc", "wait 2000", "power 4 forced"}));
  const auto wait = std::find(f.log.begin(), f.log.end(), "wait 2000");
  EXPECT_TRUE(std::none_of(f.log.begin(), wait,
                           [](const std::string& e) { return e.starts_with("checked? "); }));
}

// Central European time: UTC+1, daylight time UTC+2 from the last Sunday of
// March at 02:00 to the last Sunday of October at 03:00. Bias in minutes,
// UTC = local + bias.
const TimeZoneRule kCentralEurope{-60, {10, 0, 5, 3, 0, 0}, 0, {3, 0, 5, 2, 0, 0}, -60};

int64_t CentralEuropeLocalToUtc(const CivilDateTime& local) {
  return LocalToUtcSeconds(local, kCentralEurope);
}

struct DaylightCase {
  const char* what;
  CivilDateTime click;
  CivilDateTime target;
  int64_t seconds;
};

TEST(RunAtDateTimeTest, SpanFollowsTheWallClockAcrossDaylightTime) {
  const DaylightCase cases[] = {
      // 2024-03-31: 02:00 CET becomes 03:00 CEST.
      {"spring, two wall hours are one real hour",
       {2024, 3, 31, 1, 30, 0},
       {2024, 3, 31, 3, 30, 0},
       3600},
      {"spring, a skipped time acts at the change",
       {2024, 3, 31, 1, 30, 0},
       {2024, 3, 31, 2, 30, 0},
       1800},
      // 2024-10-27: 03:00 CEST becomes 02:00 CET; 02:00-03:00 comes twice.
      {"autumn, two wall hours are three real hours",
       {2024, 10, 27, 1, 30, 0},
       {2024, 10, 27, 3, 30, 0},
       3 * 3600},
      {"autumn, an ambiguous time acts at its first occurrence",
       {2024, 10, 27, 1, 30, 0},
       {2024, 10, 27, 2, 30, 0},
       3600},
      {"a day across the spring change",
       {2024, 3, 30, 12, 0, 0},
       {2024, 3, 31, 12, 0, 0},
       23 * 3600},
  };
  for (const DaylightCase& c : cases) {
    Fixture f;
    f.services.localToUtc = CentralEuropeLocalToUtc;
    f.services.localNow = c.click;
    f.SetFields(c.target);
    RunAtDateTime(f.controls, f.services, f.calls);
    EXPECT_EQ(f.services.waits, (std::vector<int64_t>{c.seconds * 1000})) << c.what;
  }
}

// --- Start-up values -------------------------------------------------------

struct PrefillCase {
  CivilDateTime now;
  std::vector<std::string> texts;  // 年 月 日 时 分 秒
};

TEST(PrefillDateTimeFieldsTest, WritesTwoHoursAheadFromOneReading) {
  const PrefillCase cases[] = {
      {{2024, 5, 10, 16, 30, 5}, {"2024", "5", "10", "18", "30", "5"}},
      {{2024, 5, 10, 22, 10, 0}, {"2024", "5", "11", "0", "10", "0"}},
      {{2024, 2, 29, 23, 59, 59}, {"2024", "3", "1", "1", "59", "59"}},
      {{2023, 12, 31, 23, 0, 9}, {"2024", "1", "1", "1", "0", "9"}},
  };
  for (const PrefillCase& c : cases) {
    Fixture f;
    f.services.localNow = c.now;
    PrefillDateTimeFields(f.controls, f.services);
    EXPECT_EQ(f.services.localNowReadings, 1);
    EXPECT_EQ(f.log, (EventLog{"local now?", "text= 年", "text= 月", "text= 日", "text= 时",
                               "text= 分", "text= 秒"}));
    const std::vector<std::string> written{f.controls.texts[年编辑框], f.controls.texts[月编辑框],
                                           f.controls.texts[日编辑框], f.controls.texts[时编辑框],
                                           f.controls.texts[分编辑框], f.controls.texts[秒编辑框]};
    EXPECT_EQ(written, c.texts) << c.texts[0] << "-" << c.texts[1] << "-" << c.texts[2];
  }
}

}  // namespace
