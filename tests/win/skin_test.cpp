// The skin step as the user meets it: which files beside the program give the
// skin, the XP look or neither, what the skin library receives, the fatal
// stack error, and the colours on the screen.
#include <windows.h>

#include <psapi.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "harness/tavrel_process.h"
#include "window/window_declaration.h"
#include "window/xp_look_rules.h"

namespace {

using harness::TavrelProcess;
using enum ControlName;

std::string Fixture(const std::string& name) {
  return harness::BuildDirectory() + "\\fixtures\\" + name + ".dll";
}
std::string OurSkinLibrary() { return harness::BuildDirectory() + "\\skin\\SkinH_EL.dll"; }
std::string OurSkinFile() { return harness::BuildDirectory() + "\\skin\\pmw.she"; }

struct Rgb {
  int red, green, blue;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

void PrintTo(const Rgb& colour, std::ostream* out) {
  *out << "RGB(" << colour.red << ", " << colour.green << ", " << colour.blue << ")";
}

Rgb ToRgb(XpColour colour) { return {colour.red, colour.green, colour.blue}; }

// The colours of skin/pmw.she.
constexpr Rgb kSkinWindow{214, 226, 242};
constexpr Rgb kSkinFace{60, 100, 170};
constexpr Rgb kSkinFrame{20, 50, 110};
constexpr Rgb kSkinField{255, 250, 225};

Rgb XpFrame() { return ToRgb(XpSchemeColours(2)->frame); }
Rgb XpFace() { return ToRgb(XpSchemeColours(2)->face); }

Rgb ScreenPixel(int x, int y) {
  HDC screen = GetDC(nullptr);
  COLORREF colour = GetPixel(screen, x, y);
  ReleaseDC(nullptr, screen);
  return {GetRValue(colour), GetGValue(colour), GetBValue(colour)};
}

RECT ScreenRect(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return rect;
}

// What the shown window looks like at the places where the skin and the XP
// look differ from the plain controls.
struct WindowColours {
  Rgb editFrame;   // the outermost pixel of 倒计时编辑框, halfway down its left side
  Rgb editField;   // inside that box, right of its text
  Rgb buttonFrame;  // the outermost pixel of 执行倒计时按钮, halfway down its left side
  Rgb buttonFace;   // inside that button, left of its caption
  Rgb page;         // the tab page below 倒计时编辑框, where no control lies
  Rgb radio;        // inside CMD单选框, right of its caption
};

// Shows the window from the tray menu and reads the colours once the window
// has painted: the caption bar is then drawn and two reads agree.
WindowColours ShownWindowColours(const TavrelProcess& app) {
  app.ChooseMenuItem(2);
  EXPECT_TRUE(harness::WaitUntil([&] { return app.WindowVisible(); }));
  EXPECT_TRUE(app.Responds());
  auto read = [&] {
    RECT edit = ScreenRect(app.control(倒计时编辑框));
    RECT button = ScreenRect(app.control(执行倒计时按钮));
    RECT radio = ScreenRect(app.control(CMD单选框));
    int editMiddle = (edit.top + edit.bottom) / 2;
    int buttonMiddle = (button.top + button.bottom) / 2;
    return WindowColours{ScreenPixel(edit.left, editMiddle),
                         ScreenPixel(edit.right - 8, editMiddle),
                         ScreenPixel(button.left, buttonMiddle),
                         ScreenPixel(button.left + 3, buttonMiddle),
                         ScreenPixel(edit.left + 5, edit.bottom + 12),
                         ScreenPixel(radio.right - 3, (radio.top + radio.bottom) / 2)};
  };
  WindowColours colours = read();
  harness::WaitUntil(
      [&] {
        Sleep(150);
        WindowColours again = read();
        bool same = again.editFrame == colours.editFrame && again.editField == colours.editField &&
                    again.buttonFrame == colours.buttonFrame &&
                    again.buttonFace == colours.buttonFace && again.page == colours.page &&
                    again.radio == colours.radio;
        colours = again;
        return same;
      },
      std::chrono::seconds(5));
  return colours;
}

enum class Look { Skin, Xp, Plain };

const char* LookName(Look look) {
  switch (look) {
    case Look::Skin:
      return "skin";
    case Look::Xp:
      return "XP look";
    case Look::Plain:
      break;
  }
  return "plain";
}

// Every sign of one look and none of the others, or else a description of
// what was seen.
testing::AssertionResult HasLook(const WindowColours& seen, Look look) {
  bool xpEdit = seen.editFrame == XpFrame();
  bool xpButton = seen.buttonFrame == XpFrame() && seen.buttonFace == XpFace();
  bool skinEdit = seen.editField == kSkinField;
  bool skinButton = seen.buttonFrame == kSkinFrame && seen.buttonFace == kSkinFace;
  bool skinPage = seen.page == kSkinWindow && seen.radio == kSkinWindow;
  // The look's radio buttons sit on the page without a band of their own.
  bool xpRadio = seen.radio == seen.page;
  bool matches = false;
  switch (look) {
    case Look::Skin:
      matches = skinEdit && skinButton && skinPage && !xpEdit && !xpButton;
      break;
    case Look::Xp:
      matches = xpEdit && xpButton && xpRadio && !skinEdit && !skinButton && !skinPage;
      break;
    case Look::Plain:
      matches = !xpEdit && !xpButton && !skinEdit && !skinButton && !skinPage;
      break;
  }
  if (matches) return testing::AssertionSuccess();
  return testing::AssertionFailure()
         << "expected the " << LookName(look) << "; edit frame " << testing::PrintToString(seen.editFrame)
         << ", edit field " << testing::PrintToString(seen.editField) << ", button frame "
         << testing::PrintToString(seen.buttonFrame) << ", button face "
         << testing::PrintToString(seen.buttonFace) << ", page "
         << testing::PrintToString(seen.page) << ", radio button "
         << testing::PrintToString(seen.radio);
}

// The full paths of the modules loaded in the process.
std::vector<std::string> ModulePaths(HANDLE process) {
  std::vector<HMODULE> modules(512);
  DWORD needed = 0;
  std::vector<std::string> paths;
  if (!EnumProcessModulesEx(process, modules.data(), static_cast<DWORD>(modules.size() * sizeof(HMODULE)),
                            &needed, LIST_MODULES_ALL)) {
    ADD_FAILURE() << "cannot list the modules: error " << GetLastError();
    return paths;
  }
  modules.resize(std::min<size_t>(modules.size(), needed / sizeof(HMODULE)));
  for (HMODULE module : modules) {
    char path[MAX_PATH] = {};
    if (GetModuleFileNameExA(process, module, path, sizeof path)) paths.push_back(path);
  }
  return paths;
}

bool SameFile(const std::string& a, const std::string& b) { return lstrcmpiA(a.c_str(), b.c_str()) == 0; }

bool HasLoaded(const TavrelProcess& app, const std::string& path) {
  for (const std::string& loaded : ModulePaths(app.processHandle())) {
    if (SameFile(loaded, path)) return true;
  }
  return false;
}

// Any module of that file name, wherever it was loaded from.
bool HasLoadedAnySkinLibrary(const TavrelProcess& app) {
  for (const std::string& loaded : ModulePaths(app.processHandle())) {
    std::string name = loaded.substr(loaded.find_last_of('\\') + 1);
    if (SameFile(name, "SkinH_EL.dll")) return true;
  }
  return false;
}

// The program ran its creation handler without a word: it runs and shows no
// dialog of any kind.
void ExpectNoMessage(const TavrelProcess& app) {
  EXPECT_TRUE(app.Running());
  EXPECT_TRUE(harness::WindowsOfProcess(app.processId(), "#32770").empty());
}

struct Folder {
  std::string directory = harness::FreshTestDirectory();
  std::string library = directory + "\\SkinH_EL.dll";
  std::string skinFile = directory + "\\pmw.she";
  std::string callRecord = directory + "\\skin_call.txt";
  std::string receivedData = directory + "\\skin_data.bin";
};

TavrelProcess StartIn(const Folder& folder) {
  return TavrelProcess({.program = "Tavrel.exe", .directory = folder.directory, .workingDirectory = ""});
}

// ---------------------------------------------------------------------------
// Which look the files beside the program give.

enum class Stage { Nothing, Recording, OurLibrary, Text, MissingExport, NonzeroResult, Directory };

struct LookCase {
  const char* name;
  Stage library;
  bool skinFile;
  Look look;
  // Whether SkinH_EL.dll is still loaded after the skin step.
  bool libraryStaysLoaded;
};

void PrintTo(const LookCase& staged, std::ostream* out) { *out << staged.name; }

void StageLibrary(const Folder& folder, Stage stage) {
  switch (stage) {
    case Stage::Nothing:
      return;
    case Stage::Recording:
      ASSERT_TRUE(harness::CopyInto(Fixture("skin_recording"), folder.directory, "SkinH_EL.dll"));
      return;
    case Stage::OurLibrary:
      ASSERT_TRUE(harness::CopyInto(OurSkinLibrary(), folder.directory, "SkinH_EL.dll"));
      return;
    case Stage::Text:
      harness::WriteFileText(folder.library, "This is no library, only a text.\r\n");
      return;
    case Stage::MissingExport:
      ASSERT_TRUE(harness::CopyInto(Fixture("skin_missing_export"), folder.directory, "SkinH_EL.dll"));
      return;
    case Stage::NonzeroResult:
      ASSERT_TRUE(harness::CopyInto(Fixture("skin_nonzero_result"), folder.directory, "SkinH_EL.dll"));
      return;
    case Stage::Directory:
      ASSERT_TRUE(CreateDirectoryA(folder.library.c_str(), nullptr));
      return;
  }
}

class SkinFilesGiveTheLook : public testing::TestWithParam<LookCase> {};

TEST_P(SkinFilesGiveTheLook, OnTheShownWindow) {
  const LookCase& staged = GetParam();
  Folder folder;
  StageLibrary(folder, staged.library);
  if (staged.skinFile) {
    ASSERT_TRUE(harness::CopyInto(OurSkinFile(), folder.directory));
  }
  TavrelProcess app = StartIn(folder);
  ASSERT_TRUE(app.started());
  ASSERT_NE(app.mainWindow(), nullptr);

  EXPECT_TRUE(HasLook(ShownWindowColours(app), staged.look));
  EXPECT_EQ(HasLoaded(app, folder.library), staged.libraryStaysLoaded);
  ExpectNoMessage(app);
  // The recording library is never called when the skin file is missing.
  EXPECT_FALSE(harness::FileExists(folder.callRecord));
}

INSTANTIATE_TEST_SUITE_P(
    SkinStep, SkinFilesGiveTheLook,
    testing::Values(
        LookCase{"LibraryWithoutSkinFileGivesTheXpLook", Stage::Recording, false, Look::Xp, false},
        LookCase{"SkinFileWithoutLibraryGivesTheXpLook", Stage::Nothing, true, Look::Xp, false},
        LookCase{"NeitherFileGivesTheXpLook", Stage::Nothing, false, Look::Xp, false},
        LookCase{"OurLibraryAndSkinFileGiveTheSkin", Stage::OurLibrary, true, Look::Skin, true},
        LookCase{"OurLibraryAloneGivesTheXpLook", Stage::OurLibrary, false, Look::Xp, false},
        LookCase{"TextNamedLikeTheLibraryGivesNeither", Stage::Text, true, Look::Plain, false},
        LookCase{"LibraryWithoutTheExportGivesNeither", Stage::MissingExport, true, Look::Plain,
                 false},
        LookCase{"RefusingLibraryGivesNeither", Stage::NonzeroResult, true, Look::Plain, true},
        LookCase{"DirectoryNamedLikeTheLibraryGivesNeither", Stage::Directory, true, Look::Plain,
                 false}),
    [](const testing::TestParamInfo<LookCase>& info) { return std::string(info.param.name); });

// A copy of a library in the system directory for one test; it changes the
// prefix that every later test runs in, so it goes again at the end.
class SystemDirectoryLibrary {
 public:
  explicit SystemDirectoryLibrary(const std::string& source) {
    char directory[MAX_PATH] = {};
    GetSystemDirectoryA(directory, sizeof directory);
    directory_ = directory;
    path_ = directory_ + "\\SkinH_EL.dll";
    record_ = directory_ + "\\skin_call.txt";
    Remove();
    copied_ = CopyFileA(source.c_str(), path_.c_str(), TRUE) != 0;
  }
  ~SystemDirectoryLibrary() { Remove(); }
  bool copied() const { return copied_; }
  const std::string& path() const { return path_; }
  const std::string& record() const { return record_; }

 private:
  void Remove() {
    DeleteFileA(path_.c_str());
    DeleteFileA(record_.c_str());
    DeleteFileA((directory_ + "\\skin_data.bin").c_str());
  }
  std::string directory_, path_, record_;
  bool copied_ = false;
};

TEST(SkinStep, LibraryInTheSystemDirectoryOnlyGivesTheXpLook) {
  SystemDirectoryLibrary inSystem(Fixture("skin_recording"));
  ASSERT_TRUE(inSystem.copied()) << inSystem.path();
  Folder folder;
  ASSERT_TRUE(harness::CopyInto(OurSkinFile(), folder.directory));
  TavrelProcess app = StartIn(folder);
  ASSERT_NE(app.mainWindow(), nullptr);

  EXPECT_TRUE(HasLook(ShownWindowColours(app), Look::Xp));
  EXPECT_FALSE(HasLoadedAnySkinLibrary(app));
  EXPECT_FALSE(harness::FileExists(inSystem.record()));
  ExpectNoMessage(app);
}

TEST(SkinStep, LibraryBesideTheProgramIsCalledEvenWithOneInTheSystemDirectory) {
  SystemDirectoryLibrary inSystem(Fixture("skin_recording"));
  ASSERT_TRUE(inSystem.copied()) << inSystem.path();
  Folder folder;
  StageLibrary(folder, Stage::Recording);
  ASSERT_TRUE(harness::CopyInto(OurSkinFile(), folder.directory));
  TavrelProcess app = StartIn(folder);
  ASSERT_NE(app.mainWindow(), nullptr);

  EXPECT_TRUE(harness::FileExists(folder.callRecord));
  EXPECT_FALSE(harness::FileExists(inSystem.record()));
  EXPECT_TRUE(HasLoaded(app, folder.library));
  EXPECT_FALSE(HasLoaded(app, inSystem.path()));
}

// ---------------------------------------------------------------------------
// What SkinH_AttachRes receives.

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find("\r\n", start);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

// The one call's record without the address, which differs from run to run:
// "null" or "address", then the rest of the line.
std::string CallWithoutAddress(const std::string& record) {
  std::vector<std::string> lines = Lines(record);
  if (lines.size() != 1) return "expected one call, got " + std::to_string(lines.size()) + ": " + record;
  const std::string& line = lines.front();
  if (line.rfind("data=null ", 0) == 0) return "null" + line.substr(9);
  size_t space = line.find(' ');
  if (line.rfind("data=", 0) != 0 || space == std::string::npos) return "unreadable: " + line;
  return "address" + line.substr(space);
}

TEST(SkinCall, ReceivesExactlyTheBytesOfTheSkinFileAndNullTextAndZeros) {
  Folder folder;
  StageLibrary(folder, Stage::Recording);
  ASSERT_TRUE(harness::CopyInto(OurSkinFile(), folder.directory));
  const std::string skin = harness::ReadFileText(folder.skinFile);
  ASSERT_FALSE(skin.empty());
  TavrelProcess app = StartIn(folder);
  ASSERT_NE(app.mainWindow(), nullptr);

  const std::string call = CallWithoutAddress(harness::ReadFileText(folder.callRecord));
  EXPECT_EQ(call.substr(0, call.find(" fnv1a=")),
            "address size=" + std::to_string(skin.size()) + " text=null args=0,0,0");
  EXPECT_EQ(harness::ReadFileText(folder.receivedData), skin);
  // The library returned 0 but dresses nothing: the XP look is not applied
  // after a skin was attached.
  EXPECT_TRUE(HasLook(ShownWindowColours(app), Look::Plain));
  EXPECT_TRUE(HasLoaded(app, folder.library));
  ExpectNoMessage(app);
}

TEST(SkinCall, EmptySkinFileGivesANullAddressAndCountZero) {
  Folder folder;
  StageLibrary(folder, Stage::Recording);
  harness::WriteFileText(folder.skinFile, "");
  TavrelProcess app = StartIn(folder);
  ASSERT_NE(app.mainWindow(), nullptr);

  const std::string call = CallWithoutAddress(harness::ReadFileText(folder.callRecord));
  EXPECT_EQ(call.substr(0, call.find(" fnv1a=")), "null size=0 text=null args=0,0,0");
  EXPECT_EQ(harness::ReadFileText(folder.receivedData), "");
  ExpectNoMessage(app);
}

TEST(SkinCall, UnreadableSkinFileGivesANullAddressAndCountZero) {
  Folder folder;
  StageLibrary(folder, Stage::Recording);
  ASSERT_TRUE(harness::CopyInto(OurSkinFile(), folder.directory));
  // Held open for writing: the program, which lets others read but not
  // write while it reads, cannot open it. It still finds it.
  HANDLE held = CreateFileA(folder.skinFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  TavrelProcess app = StartIn(folder);
  CloseHandle(held);
  ASSERT_NE(app.mainWindow(), nullptr);

  const std::string call = CallWithoutAddress(harness::ReadFileText(folder.callRecord));
  EXPECT_EQ(call.substr(0, call.find(" fnv1a=")), "null size=0 text=null args=0,0,0");
  ExpectNoMessage(app);
}

// ---------------------------------------------------------------------------
// A skin library of the wrong calling convention.

TEST(SkinCall, CdeclExportIsAFatalStackError) {
  if (sizeof(void*) == 8) {
    GTEST_SKIP() << "x86-64 has one calling convention: a cdecl export leaves the stack as a "
                    "stdcall one would, so the stack error exists only in the 32-bit build";
  }
  Folder folder;
  ASSERT_TRUE(harness::CopyInto(Fixture("skin_cdecl_export"), folder.directory, "SkinH_EL.dll"));
  ASSERT_TRUE(harness::CopyInto(OurSkinFile(), folder.directory));
  TavrelProcess app({.program = "Tavrel.exe",
                     .directory = folder.directory,
                     .workingDirectory = "",
                     .waitForWindow = false});
  ASSERT_TRUE(app.started());

  HWND box = nullptr;
  ASSERT_TRUE(harness::WaitUntil([&] { return (box = harness::FindMessageBox(app.processId(), "错误")) != nullptr; }));
  const std::string text = harness::MessageBoxText(box);
  EXPECT_EQ(text.rfind("运行时出错!", 0), 0u) << text;
  EXPECT_NE(text.find("错误代码：6"), std::string::npos) << text;
  EXPECT_NE(text.find("错误信息：调用DLL命令后发现堆栈错误"), std::string::npos) << text;
  // No window of the program is left to own the box, and none is built.
  EXPECT_EQ(GetWindow(box, GW_OWNER), nullptr);
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  EXPECT_EQ(app.WaitForExit(), 0xFFFFFFFFu);
}

}  // namespace
