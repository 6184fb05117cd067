// Input no one should type and faults no one should meet: the program goes
// on answering, never acts on a date and time it cannot read, and the
// countdown waits what its text says by the reading rules.
#include <windows.h>

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <optional>
#include <ostream>
#include <string>

#include "reliability_driver.h"
#include "schedule/date_time.h"
#include "schedule/run_handlers.h"
#include "schedule/text_to_number.h"

namespace {

using namespace reliability;
using enum ControlName;
using std::chrono::milliseconds;
using std::chrono::steady_clock;

constexpr size_t k64KiB = 64 * 1024;

constexpr std::array<ControlName, 8> kEditBoxes{年编辑框, 月编辑框, 日编辑框, 时编辑框,
                                                分编辑框, 秒编辑框, 倒计时编辑框, CMD编辑框};

// 64 KiB of everything at once: GBK characters, full-width digits, bytes
// that start no GBK character (0x80, 0xFF), control characters, and a lone
// lead byte at the very end.
std::string Mixed64KiB() {
  const std::string piece = "\xB9\xD8\xA3\xB1\x80\xFF\x01\x1F\x7F\t9";
  std::string text;
  while (text.size() + piece.size() < k64KiB) text += piece;
  text.resize(k64KiB - 1, 'x');
  return text + "\xB9";
}

struct BadText {
  const char* name;
  std::string text;
};

// Test names show the case, not the bytes of the texts.
void PrintTo(const BadText& value, std::ostream* out) { *out << value.name; }

const BadText kBadTexts[] = {
    {"LoneLeadByte", "\xB9"},
    {"LoneLeadAfterDigits", "12\xB9"},
    {"NotGbk", "\x80\xFF\xFF\x80"},
    {"ControlCharacters", "\x01\x02\x1B\x7F"},
};

std::string JoinedFields(const TavrelProcess& app) {
  return JoinDateTimeText({app.Text(年编辑框), app.Text(月编辑框), app.Text(日编辑框),
                           app.Text(时编辑框), app.Text(分编辑框), app.Text(秒编辑框)});
}

// Clicks the run button and expects the refusal: the information box with
// the message for an unreadable date and time, and no action after it.
void ExpectRunRefused(const TavrelProcess& app) {
  app.Click(执行按钮);
  HWND box = nullptr;
  ASSERT_TRUE(harness::WaitUntil([&] {
    return (box = harness::FindMessageBox(app.processId(), "信息：")) != nullptr;
  })) << "no information box";
  EXPECT_EQ(harness::MessageBoxText(box), std::string(kInvalidDateTimeMessage));
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(harness::WaitUntil([&] { return !IsWindow(box); }));
  EXPECT_TRUE(app.Responds());
  // A run that went ahead would have hidden the window.
  EXPECT_TRUE(app.WindowVisible());
  Sleep(300);
  EXPECT_EQ(app.PowerLog(), "");
}

// Under Wine a 64 KiB text takes seconds to go into a single-line box, so
// one program takes it in every box and is then run both ways.
TEST(BadInput, EveryEditBoxTakes64KiBAndTheProgramGoesOn) {
  TavrelProcess app(DryRun());
  ASSERT_TRUE(app.started());
  ASSERT_TRUE(app.Checked(关机单选框));
  const std::string text = Mixed64KiB();
  for (ControlName box : kEditBoxes) {
    app.SetText(box, text);
    EXPECT_TRUE(app.Responds());
    // The box holds the text as the system converted it: the bytes outside
    // GBK may come back changed, but the length stays of that order.
    EXPECT_GT(app.Text(box).size(), k64KiB / 2) << static_cast<int>(box);
  }
  ShowByTray(app);
  for (int page : {1, 0}) ShowPage(app, page);
  ASSERT_FALSE(ParseDateTimeText(JoinedFields(app)).has_value());
  ExpectRunRefused(app);
  // The countdown text starts with a character that is no number: 0 s.
  ASSERT_EQ(TextToNumber(app.Text(倒计时编辑框)), 0.0);
  EXPECT_TRUE(CountdownActs(app, app.Text(倒计时编辑框)));
  EXPECT_TRUE(app.Responds());
  EXPECT_EQ(CountLines(app.PowerLog()), 1);
}

class UnreadableDateTime : public testing::TestWithParam<BadText> {};

TEST_P(UnreadableDateTime, InAnyFieldIsNeverActedOn) {
  TavrelProcess app(DryRun());
  ASSERT_TRUE(app.started());
  ShowByTray(app);
  const std::string valid = JoinedFields(app);
  for (ControlName field : {年编辑框, 时编辑框, 秒编辑框}) {
    SCOPED_TRACE(static_cast<int>(field));
    const std::string before = app.Text(field);
    app.SetText(field, GetParam().text);
    // Whatever the system made of the bytes, the rules must reject it, or
    // this case would test nothing.
    ASSERT_FALSE(ParseDateTimeText(JoinedFields(app)).has_value()) << JoinedFields(app);
    ExpectRunRefused(app);
    if (HasFatalFailure()) return;
    app.SetText(field, before);
  }
  EXPECT_EQ(JoinedFields(app), valid);
}

INSTANTIATE_TEST_SUITE_P(Cases, UnreadableDateTime, testing::ValuesIn(kBadTexts),
                         [](const auto& info) { return std::string(info.param.name); });

struct CountdownCase {
  const char* name;
  std::string text;
};

void PrintTo(const CountdownCase& value, std::ostream* out) { *out << value.name; }

const CountdownCase kCountdownTexts[] = {
    {"Spaces64KiB", std::string(k64KiB, ' ')},
    {"LoneLeadByte", "\xB9"},
    {"NotGbk", "\x80\xFF"},
    {"ControlCharacters", "\x01\x02"},
    {"FullWidthOneThenLoneLead", "\xA3\xB1\xB9"},
    {"OneThenControlCharacters", "1\x01\x1B"},
    {"OneThen64KiBOfJunk", "1" + Mixed64KiB()},
};

class CountdownText : public testing::TestWithParam<CountdownCase> {};

TEST_P(CountdownText, WaitsWhatTheRulesReadAndActsOnce) {
  TavrelProcess app(DryRun());
  ASSERT_TRUE(app.started());
  ASSERT_TRUE(app.Checked(关机单选框));
  app.SetText(倒计时编辑框, GetParam().text);
  // The wait the rules give for the text the box really holds.
  const std::string held = app.Text(倒计时编辑框);
  const int64_t expected = SecondsToMilliseconds(TextToNumber(held));
  ASSERT_GE(expected, 0);
  ASSERT_LE(expected, 1000) << "a case must stay short";
  const auto start = steady_clock::now();
  app.Click(执行倒计时按钮);
  ASSERT_TRUE(harness::WaitUntil([&] { return CountLines(app.PowerLog()) == 1; },
                                 milliseconds(expected + 8000)));
  const auto waited = std::chrono::duration_cast<milliseconds>(steady_clock::now() - start);
  EXPECT_GE(waited.count(), expected - 50);
  EXPECT_LT(waited.count(), expected + 4000);
  EXPECT_TRUE(app.Responds());
  Sleep(200);
  EXPECT_EQ(CountLines(app.PowerLog()), 1);
  EXPECT_FALSE(app.WindowVisible());
  // A run does not reset the box.
  EXPECT_EQ(app.Text(倒计时编辑框), held);
}

INSTANTIATE_TEST_SUITE_P(Cases, CountdownText, testing::ValuesIn(kCountdownTexts),
                         [](const auto& info) { return std::string(info.param.name); });

// After each fault: the program answers, shows its window, and has acted on
// nothing. The skin and clipboard scenarios themselves are tested at length
// elsewhere; these only look at what follows them.
void ExpectUnharmed(const TavrelProcess& app) {
  EXPECT_TRUE(app.Running());
  EXPECT_TRUE(app.Responds());
  EXPECT_EQ(harness::FindMessageBox(app.processId(), "错误"), nullptr);
  if (!app.WindowVisible()) ShowByTray(app);
  EXPECT_EQ(app.PowerLog(), "");
}

TEST(Faults, ClipboardHeldOpenByAnotherProcess) {
  TavrelProcess app(DryRun());
  ASSERT_TRUE(app.started());
  app.SetText(CMD编辑框, "copied later");
  FocusCommandBox(app);
  ASSERT_TRUE(PutClipboardText("held"));
  const DWORD sequence = GetClipboardSequenceNumber();
  // Held with a window of this process: Wine lets a second OpenClipboard
  // with no window through while the first holder has none either.
  HWND holder = CreateWindowExA(0, "STATIC", "holder", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                nullptr, nullptr);
  ASSERT_NE(holder, nullptr);
  ASSERT_TRUE(OpenClipboard(holder));
  PressCtrlC();
  // The key has been handled once the box answers again.
  Sleep(300);
  EXPECT_TRUE(app.Responds());
  const DWORD sequenceWhileHeld = GetClipboardSequenceNumber();
  CloseClipboard();
  DestroyWindow(holder);
  EXPECT_EQ(sequenceWhileHeld, sequence) << "the program wrote to a clipboard held by another";
  EXPECT_EQ(ClipboardText(), "held");
  ExpectUnharmed(app);
  CopyByCtrlC("copied later");
}

TEST(Faults, CommandLinesThatCannotStart) {
  TavrelProcess app(DryRun());
  ASSERT_TRUE(app.started());
  app.SetChecked(关机单选框, false);
  app.SetChecked(CMD单选框, true);
  for (const std::string command : {"no-such-program-anywhere.exe", "\"unclosed quote"}) {
    app.SetText(CMD编辑框, command);
    app.SetText(倒计时编辑框, "0");
    app.Click(执行倒计时按钮);
    ASSERT_TRUE(harness::WaitUntil([&] { return !app.WindowVisible(); }));
    ExpectUnharmed(app);
  }
}

std::string FixturePath(const std::string& name) {
  return harness::BuildDirectory() + "\\fixtures\\" + name + ".dll";
}

// A skin file of our own: well-formed, so only the lock can keep it from
// being read.
void WriteSkinFile(const std::string& directory) {
  harness::WriteFileText(directory + "\\pmw.she",
                         "tavrel-skin 1\nwindow = 200 220 240\ntext = 0 0 0\nface = 40 80 160\n"
                         "facetext = 255 255 255\nframe = 20 40 80\nfield = 255 250 230\n"
                         "fieldtext = 0 0 0\n");
}

TEST(Faults, SkinFileLockedForWritingByAnotherProcess) {
  const std::string directory = harness::FreshTestDirectory();
  ASSERT_TRUE(harness::CopyInto(FixturePath("skin_recording"), directory, "SkinH_EL.dll"));
  WriteSkinFile(directory);
  HANDLE lock = CreateFileA((directory + "\\pmw.she").c_str(), GENERIC_WRITE,
                            FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  harness::StartOptions options = DryRun();
  options.directory = directory;
  TavrelProcess app(options);
  CloseHandle(lock);
  ASSERT_TRUE(app.started());
  // The library was still called, with no data: the lock did keep the file
  // from being read.
  const std::string record = harness::ReadFileText(directory + "\\skin_call.txt");
  EXPECT_NE(record.find("data=null size=0"), std::string::npos) << record;
  ExpectUnharmed(app);
}

TEST(Faults, EveryBrokenSkinLibraryOfTheFixtures) {
  for (const char* fixture : {"skin_missing_export", "skin_nonzero_result", "skin_cdecl_export"}) {
    SCOPED_TRACE(fixture);
    const std::string directory = harness::FreshTestDirectory(std::string("-") + fixture);
    ASSERT_TRUE(harness::CopyInto(FixturePath(fixture), directory, "SkinH_EL.dll"));
    WriteSkinFile(directory);
    harness::StartOptions options = DryRun();
    options.directory = directory;
    options.waitForWindow = sizeof(void*) == 8 || std::string(fixture) != "skin_cdecl_export";
    TavrelProcess app(options);
    ASSERT_TRUE(app.started());
    if (!options.waitForWindow) {
      // 32-bit only: the export of the wrong calling convention is the one
      // fatal error, reported and ended with -1, never an action.
      HWND box = nullptr;
      ASSERT_TRUE(harness::WaitUntil(
          [&] { return (box = harness::FindMessageBox(app.processId(), "错误")) != nullptr; }));
      PostMessageA(box, WM_COMMAND, IDOK, 0);
      EXPECT_EQ(app.WaitForExit(), static_cast<DWORD>(-1));
      EXPECT_EQ(app.PowerLog(), "");
      continue;
    }
    ExpectUnharmed(app);
    ASSERT_TRUE(CountdownActs(app, "0")) << "the program no longer acts when asked";
  }
}

}  // namespace
