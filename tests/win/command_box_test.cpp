// Ctrl+A and Ctrl+C in CMD编辑框, pressed as a user would: real key input to
// the focused box of the shown window, the clipboard read back as CF_TEXT.
#include <windows.h>
// commctrl.h needs the types of windows.h.
#include <commctrl.h>
#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "harness/tavrel_process.h"

namespace {

using harness::TavrelProcess;
using enum ControlName;

constexpr int kCtrl = 1;
constexpr int kShift = 2;
constexpr int kAlt = 4;

// --- Keys --------------------------------------------------------------------

void AddKey(std::vector<INPUT>& inputs, WORD key, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  inputs.push_back(input);
}

// Presses the modifiers, the key, and lets go in reverse order, as one input.
void PressKey(int modifiers, WORD key) {
  std::vector<INPUT> inputs;
  const std::pair<int, WORD> order[] = {{kCtrl, VK_CONTROL}, {kShift, VK_SHIFT}, {kAlt, VK_MENU}};
  for (const auto& [bit, code] : order) {
    if (modifiers & bit) AddKey(inputs, code, false);
  }
  AddKey(inputs, key, false);
  AddKey(inputs, key, true);
  for (auto at = std::rbegin(order); at != std::rend(order); ++at) {
    if (modifiers & at->first) AddKey(inputs, at->second, true);
  }
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

// --- Clipboard -----------------------------------------------------------------

bool OpenClipboardSoon() {
  return harness::WaitUntil([] { return OpenClipboard(nullptr) != 0; }, std::chrono::seconds(5));
}

// The CF_TEXT bytes up to their terminating zero; nullopt when there is none.
std::optional<std::string> ClipboardTextOfOpenClipboard() {
  HANDLE data = GetClipboardData(CF_TEXT);
  if (!data) return std::nullopt;
  const char* bytes = static_cast<const char*>(GlobalLock(data));
  if (!bytes) return std::nullopt;
  std::string text(bytes);
  GlobalUnlock(data);
  return text;
}

std::optional<std::string> ClipboardText() {
  if (!OpenClipboardSoon()) return std::nullopt;
  std::optional<std::string> text = ClipboardTextOfOpenClipboard();
  CloseClipboard();
  return text;
}

void PutOnOpenClipboard(const std::string& text) {
  EmptyClipboard();
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  ASSERT_NE(memory, nullptr);
  char* bytes = static_cast<char*>(GlobalLock(memory));
  memcpy(bytes, text.c_str(), text.size() + 1);
  GlobalUnlock(memory);
  ASSERT_NE(SetClipboardData(CF_TEXT, memory), nullptr);
}

void PutOnClipboard(const std::string& text) {
  ASSERT_TRUE(OpenClipboardSoon());
  PutOnOpenClipboard(text);
  CloseClipboard();
}

// Something the program never writes, so any change shows.
const std::string kSentinel = "sentinel put there by the test";

// --- The window ----------------------------------------------------------------

HWND FocusOf(const TavrelProcess& app) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  GetGUIThreadInfo(GetWindowThreadProcessId(app.mainWindow(), nullptr), &info);
  return info.hwndFocus;
}

std::pair<int, int> Selection(HWND box) {
  const auto packed = static_cast<DWORD>(SendMessageA(box, EM_GETSEL, 0, 0));
  return {LOWORD(packed), HIWORD(packed)};
}

void Select(HWND box, int start, int end) { SendMessageA(box, EM_SETSEL, start, end); }

void BringToFront(const TavrelProcess& app) {
  SetForegroundWindow(app.mainWindow());
  ASSERT_TRUE(harness::WaitUntil([&] { return GetForegroundWindow() == app.mainWindow(); }));
}

// Shows the window on the page "CMD指令", which gives the box the focus.
void FocusCommandBox(const TavrelProcess& app) {
  app.ChooseMenuItem(2);
  ASSERT_TRUE(harness::WaitUntil([&] { return app.WindowVisible(); }));
  SendMessageA(app.control(选择夹1), TCM_SETCURFOCUS, 1, 0);
  ASSERT_TRUE(harness::WaitUntil([&] { return IsWindowVisible(app.control(CMD编辑框)) != 0; }));
  BringToFront(app);
  ASSERT_TRUE(harness::WaitUntil([&] { return FocusOf(app) == app.control(CMD编辑框); }));
}

// Key input is handled after any message sent to the program, so a sent
// message cannot tell that a key has been handled. A typed "x" can: it lands
// at the caret or over the selection, which is what the keys before it left.
// The text is read until it is the expected one, since a read can catch the
// box halfway through inserting; after a fault it is what the box ended with.
std::string TypeMarker(const TavrelProcess& app, ControlName box, const std::string& expected) {
  PressKey(0, 'X');
  std::string now;
  harness::WaitUntil(
      [&] {
        now = app.Text(box);
        return now == expected;
      },
      std::chrono::seconds(3));
  return now;
}

// Types the marker into a box whose outcome is not known beforehand: waits
// until the text is no longer `before`, then reads what it became.
std::string TypeMarkerAndRead(const TavrelProcess& app, ControlName box, const std::string& before) {
  PressKey(0, 'X');
  harness::WaitUntil([&] { return app.Text(box) != before; }, std::chrono::seconds(3));
  return app.Text(box);
}

// The page "定时关机" with the keyboard focus in 倒计时编辑框, which has no
// key handler of its own.
void FocusCountdownBox(const TavrelProcess& app) {
  SendMessageA(app.control(选择夹1), TCM_SETCURFOCUS, 0, 0);
  HWND countdown = app.control(倒计时编辑框);
  ASSERT_TRUE(harness::WaitUntil([&] { return IsWindowVisible(countdown) != 0; }));
  DWORD thread = GetWindowThreadProcessId(app.mainWindow(), nullptr);
  AttachThreadInput(GetCurrentThreadId(), thread, TRUE);
  SetFocus(countdown);
  AttachThreadInput(GetCurrentThreadId(), thread, FALSE);
  ASSERT_TRUE(harness::WaitUntil([&] { return FocusOf(app) == countdown; }));
}

class CommandBox : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(app_.started());
    ASSERT_NO_FATAL_FAILURE(FocusCommandBox(app_));
    box_ = app_.control(CMD编辑框);
  }

  void SetBoxText(const std::string& text, int caret) {
    app_.SetText(CMD编辑框, text);
    Select(box_, caret, caret);
    ASSERT_EQ(app_.Text(CMD编辑框), text);
  }

  TavrelProcess app_;
  HWND box_ = nullptr;
};

// --- Ctrl+A --------------------------------------------------------------------

TEST_F(CommandBox, CtrlASelectsTheWholeText) {
  const std::string texts[] = {"notepad.exe", "cmd /c echo one\r\necho two\r\n", "q"};
  for (const std::string& text : texts) {
    SetBoxText(text, 1);

    PressKey(kCtrl, 'A');

    const std::pair<int, int> whole{0, static_cast<int>(text.size())};
    EXPECT_TRUE(harness::WaitUntil([&] { return Selection(box_) == whole; }))
        << text << ": " << Selection(box_).first << ".." << Selection(box_).second;
    // Typing over the selection replaces all of it.
    EXPECT_EQ(TypeMarker(app_, CMD编辑框, "x"), "x") << text;
  }
}

TEST_F(CommandBox, CtrlAInAnEmptyBoxSelectsNothing) {
  SetBoxText("", 0);

  PressKey(kCtrl, 'A');

  EXPECT_EQ(TypeMarker(app_, CMD编辑框, "x"), "x");
  EXPECT_EQ(Selection(box_), std::make_pair(1, 1));
}

// The key goes on to the box after the handler, so what Ctrl+Shift+A or
// Alt+A does is the box's own key handling: nothing in the plain edit box,
// select-all in that of version 6 of the common controls. The countdown box
// has no handler, so it shows what the box alone does with the same keys,
// and the command box must end the same way.
TEST_F(CommandBox, OtherModifiersWithAAreLeftToTheBox) {
  struct Case {
    const char* title;
    int modifiers;
  };
  const Case cases[] = {{"Ctrl+Shift+A", kCtrl | kShift}, {"Alt+A", kAlt}};
  for (const Case& c : cases) {
    ASSERT_NO_FATAL_FAILURE(FocusCountdownBox(app_));
    app_.SetText(倒计时编辑框, "abc");
    Select(app_.control(倒计时编辑框), 1, 1);
    PressKey(c.modifiers, 'A');
    const std::string alone = TypeMarkerAndRead(app_, 倒计时编辑框, "abc");

    ASSERT_NO_FATAL_FAILURE(FocusCommandBox(app_));
    SetBoxText("abc", 1);
    PressKey(c.modifiers, 'A');

    EXPECT_EQ(TypeMarker(app_, CMD编辑框, alone), alone) << c.title;
    EXPECT_TRUE(app_.Responds()) << c.title;
  }
}

// --- Ctrl+C --------------------------------------------------------------------

TEST_F(CommandBox, CtrlCWithoutSelectionCopiesTheWholeTextAsGbk) {
  // "关机" and "dir", a line break between them: GBK bytes, CR LF kept.
  const std::string texts[] = {"\xB9\xD8\xBB\xFA\r\ndir C:\\", "ping -n 1 localhost"};
  for (const std::string& text : texts) {
    SetBoxText(text, 0);
    PutOnClipboard(kSentinel);

    PressKey(kCtrl, 'C');

    // The box itself is left as it was: caret at the start, nothing selected.
    ASSERT_EQ(TypeMarker(app_, CMD编辑框, "x" + text), "x" + text);
    EXPECT_EQ(ClipboardText(), text);
  }
}

TEST_F(CommandBox, CtrlCInAnEmptyBoxPutsTheEmptyText) {
  SetBoxText("", 0);
  PutOnClipboard(kSentinel);

  PressKey(kCtrl, 'C');

  ASSERT_EQ(TypeMarker(app_, CMD编辑框, "x"), "x");
  EXPECT_EQ(ClipboardText(), "");
}

// A window of this process to hold the clipboard open with. Wine lets a
// second opener without a window in while the first one has none either, so
// the holder has a window, as a real program's clipboard owner would.
class ClipboardHolder {
 public:
  ClipboardHolder()
      : window_(
            CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr)) {
    open_ = window_ != nullptr && harness::WaitUntil([&] { return OpenClipboard(window_) != 0; },
                                                     std::chrono::seconds(5));
  }
  ~ClipboardHolder() {
    Close();
    if (window_) DestroyWindow(window_);
  }
  bool open() const { return open_; }
  void Close() {
    if (open_) CloseClipboard();
    open_ = false;
  }

 private:
  HWND window_;
  bool open_ = false;
};

// The key goes on to the box after the handler: its own copy of a non-empty
// selection comes second and is what stays.
TEST_F(CommandBox, CtrlCWithASelectionEndsWithTheSelectionOnTheClipboard) {
  SetBoxText("abc def", 0);
  Select(box_, 4, 7);
  PutOnClipboard(kSentinel);

  PressKey(kCtrl, 'C');

  ASSERT_EQ(TypeMarker(app_, CMD编辑框, "abc x"), "abc x");
  EXPECT_EQ(ClipboardText(), "def");
}

// Every copy empties the clipboard and puts a text on it, and each of these
// counts in the clipboard's sequence number.
TEST_F(CommandBox, HoldingCtrlCCopiesAgainOnEveryRepeat) {
  SetBoxText("held", 0);
  const DWORD beforeOne = GetClipboardSequenceNumber();
  PressKey(kCtrl, 'C');
  ASSERT_EQ(TypeMarker(app_, CMD编辑框, "xheld"), "xheld");
  const DWORD perCopy = GetClipboardSequenceNumber() - beforeOne;
  ASSERT_GT(perCopy, 0u);

  const DWORD beforeHeld = GetClipboardSequenceNumber();
  // C pressed once and repeated twice while Ctrl stays down.
  std::vector<INPUT> inputs;
  AddKey(inputs, VK_CONTROL, false);
  for (int press = 0; press < 3; ++press) AddKey(inputs, 'C', false);
  AddKey(inputs, 'C', true);
  AddKey(inputs, VK_CONTROL, true);
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
  ASSERT_EQ(TypeMarker(app_, CMD编辑框, "xxheld"), "xxheld");

  EXPECT_EQ(GetClipboardSequenceNumber() - beforeHeld, 3 * perCopy);
  EXPECT_EQ(ClipboardText(), "xheld");
}

TEST_F(CommandBox, CtrlCWhileAnotherProgramHoldsTheClipboardDoesNothing) {
  SetBoxText("notepad.exe", 0);
  // Put there without an owner window: emptying the clipboard later sends
  // the owner WM_DESTROYCLIPBOARD, and this thread does not answer messages.
  PutOnClipboard(kSentinel);
  ClipboardHolder holder;
  ASSERT_TRUE(holder.open());

  // The clipboard stays open in this process until the keys are handled.
  PressKey(kCtrl, 'C');
  const std::string after = TypeMarker(app_, CMD编辑框, "xnotepad.exe");
  const bool responded = app_.Responds(std::chrono::seconds(2));
  const std::optional<std::string> held = ClipboardTextOfOpenClipboard();
  holder.Close();

  EXPECT_EQ(after, "xnotepad.exe");
  EXPECT_TRUE(responded);
  EXPECT_EQ(held, kSentinel);
  EXPECT_EQ(ClipboardText(), kSentinel);

  // Once it is free again, the same keys copy.
  PressKey(kCtrl, 'C');
  ASSERT_EQ(TypeMarker(app_, CMD编辑框, "xxnotepad.exe"), "xxnotepad.exe");
  EXPECT_EQ(ClipboardText(), "xnotepad.exe");
}

TEST_F(CommandBox, OtherModifiersWithCCopyNothing) {
  struct Case {
    const char* title;
    int modifiers;
  };
  const Case cases[] = {{"Ctrl+Alt+C", kCtrl | kAlt}, {"Ctrl+Shift+C", kCtrl | kShift}};
  for (const Case& c : cases) {
    SetBoxText("abc", 1);
    PutOnClipboard(kSentinel);

    PressKey(c.modifiers, 'C');

    EXPECT_EQ(TypeMarker(app_, CMD编辑框, "axbc"), "axbc") << c.title;
    EXPECT_EQ(ClipboardText(), kSentinel) << c.title;
  }
}

// --- Other controls -------------------------------------------------------------

TEST_F(CommandBox, CtrlAAndCtrlCInTheCountdownBoxLeaveTheCommandBoxAlone) {
  SetBoxText("shutdown-free command", 3);
  ASSERT_NO_FATAL_FAILURE(FocusCountdownBox(app_));
  HWND countdown = app_.control(倒计时编辑框);
  ASSERT_EQ(app_.Text(倒计时编辑框), "120");
  Select(countdown, 0, 0);
  PutOnClipboard(kSentinel);

  // Nothing selected in the countdown box: its own copy has nothing to copy.
  PressKey(kCtrl, 'C');
  EXPECT_EQ(TypeMarker(app_, 倒计时编辑框, "x120"), "x120");
  EXPECT_EQ(ClipboardText(), kSentinel);

  PressKey(kCtrl, 'A');
  PressKey(kCtrl, 'C');
  PressKey(0, VK_END);
  EXPECT_TRUE(harness::WaitUntil([&] { return Selection(countdown) == std::make_pair(4, 4); }));
  EXPECT_NE(ClipboardText(), app_.Text(CMD编辑框));
  EXPECT_EQ(Selection(box_), std::make_pair(3, 3));
  EXPECT_EQ(app_.Text(CMD编辑框), "shutdown-free command");
}

}  // namespace
