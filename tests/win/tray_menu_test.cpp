// The tray menu's immediate items, driven the way the menu itself reaches the
// program: the four power items against the dry-run build, which writes its
// requests to power-requests.log instead of acting, and "锁定".
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <ostream>
#include <string>
#include <thread>

#include "harness/tavrel_process.h"

namespace {

using harness::StartOptions;
using harness::TavrelProcess;
using enum ControlName;
using std::chrono::steady_clock;

// --- A rundll32.exe of our own ---------------------------------------------
//
// This test binary doubles as the program that "锁定" must not start: copied
// into Tavrel's folder under the name rundll32.exe, it leaves a marker file
// beside itself, holding its command line, and ends before GoogleTest starts.

constexpr char kPlantedName[] = "rundll32.exe";
constexpr char kPlantedMarker[] = "planted-rundll32-ran.txt";

std::string OwnPath() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, sizeof path);
  return path;
}

std::string FolderOf(const std::string& path) { return path.substr(0, path.find_last_of('\\')); }

std::string NameOf(const std::string& path) { return path.substr(path.find_last_of('\\') + 1); }

const bool kRunningAsPlantedRundll32 = [] {
  if (lstrcmpiA(NameOf(OwnPath()).c_str(), kPlantedName) != 0) return false;
  harness::WriteFileText(FolderOf(OwnPath()) + "\\" + kPlantedMarker, GetCommandLineA());
  ExitProcess(0);
}();

// --- Helpers ---------------------------------------------------------------

constexpr std::array<ControlName, 5> kRadioButtons{关机单选框, 重启单选框, 注销单选框, 休眠单选框,
                                                   CMD单选框};

StartOptions DryRunIn(const std::string& directory) {
  StartOptions options;
  options.program = "Tavrel-dryrun.exe";
  options.directory = directory;
  return options;
}

TavrelProcess StartDryRun() { return TavrelProcess(DryRunIn("")); }

void ShowWindowOf(const TavrelProcess& app) {
  app.ChooseMenuItem(2);
  ASSERT_TRUE(harness::WaitUntil([&] { return app.WindowVisible(); }));
}

// Polls the log closely, so that the moment its first line appears is known
// to within a few milliseconds.
bool WaitForPowerLog(const TavrelProcess& app, std::chrono::milliseconds timeout) {
  const auto end = steady_clock::now() + timeout;
  while (steady_clock::now() < end) {
    if (!app.PowerLog().empty()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return !app.PowerLog().empty();
}

std::string CheckedButtons(const TavrelProcess& app) {
  std::string names;
  for (ControlName button : kRadioButtons) {
    if (!app.Checked(button)) continue;
    if (!names.empty()) names += ",";
    names += std::to_string(static_cast<int>(button));
  }
  return names;
}

// The window styles of the five radio buttons, tab-stop bit included: a
// program's write of the checked state must leave them as they are, while
// the common controls' own BM_SETCHECK sets or clears the tab stop.
std::array<LONG, 5> RadioStyles(const TavrelProcess& app) {
  std::array<LONG, 5> styles{};
  for (size_t i = 0; i < kRadioButtons.size(); ++i) {
    styles[i] = GetWindowLongA(app.control(kRadioButtons[i]), GWL_STYLE);
  }
  return styles;
}

std::string NamesOf(std::initializer_list<ControlName> buttons) {
  std::string names;
  for (ControlName button : kRadioButtons) {
    if (std::find(buttons.begin(), buttons.end(), button) == buttons.end()) continue;
    if (!names.empty()) names += ",";
    names += std::to_string(static_cast<int>(button));
  }
  return names;
}

// --- The four power items --------------------------------------------------

struct PowerItem {
  const char* caption;
  int position;
  ControlName button;
  // Two other buttons checked before, so that every one of the five must be
  // written for the item's to end up alone.
  ControlName before1;
  ControlName before2;
  const char* logLine;
};

const PowerItem kPowerItems[] = {
    {"关机", 3, 关机单选框, CMD单选框, 休眠单选框, "ExitWindowsEx flags=12\n"},
    {"重启", 4, 重启单选框, CMD单选框, 关机单选框, "ExitWindowsEx flags=6\n"},
    {"注销", 5, 注销单选框, 休眠单选框, 重启单选框, "ExitWindowsEx flags=4\n"},
    {"休眠", 6, 休眠单选框, CMD单选框, 注销单选框, "SetSystemPowerState suspend=1 force=1\n"},
};

struct PowerItemCase {
  PowerItem item;
  bool windowShown;
};

std::string PowerItemCaseName(const testing::TestParamInfo<PowerItemCase>& info) {
  return "Position" + std::to_string(info.param.item.position) +
         (info.param.windowShown ? "Shown" : "Hidden");
}

void PrintTo(const PowerItemCase& c, std::ostream* out) {
  *out << "item " << c.item.position << (c.windowShown ? ", window shown" : ", window hidden");
}

class PowerMenuItem : public testing::TestWithParam<PowerItemCase> {};

TEST_P(PowerMenuItem, SelectsItsButtonAloneThenActsAfterTheHundredMilliseconds) {
  const PowerItem& item = GetParam().item;
  TavrelProcess app = StartDryRun();
  ASSERT_TRUE(app.started());
  if (GetParam().windowShown) ShowWindowOf(app);
  // A click clears the default 关机; a write adds a second mark beside it.
  SendMessageA(app.control(item.before1), BM_CLICK, 0, 0);
  app.SetChecked(item.before2, true);
  ASSERT_EQ(CheckedButtons(app), NamesOf({item.before1, item.before2}));
  ASSERT_EQ(app.PowerLog(), "");

  const std::array<LONG, 5> stylesBefore = RadioStyles(app);
  const auto chosen = steady_clock::now();
  app.ChooseMenuItem(item.position);
  ASSERT_TRUE(WaitForPowerLog(app, std::chrono::seconds(5))) << item.caption;
  const auto elapsed =
      std::chrono::duration_cast<std::chrono::milliseconds>(steady_clock::now() - chosen);

  // GetTickCount advances in steps of about 16 ms, so the program's own 100 ms
  // can be up to one step shorter on the wall clock.
  EXPECT_GE(elapsed.count(), 100 - 16) << item.caption;
  EXPECT_EQ(CheckedButtons(app), NamesOf({item.button})) << item.caption;
  EXPECT_EQ(RadioStyles(app), stylesBefore) << item.caption;
  // One request only, and it stays one.
  Sleep(200);
  EXPECT_EQ(app.PowerLog(), item.logLine) << item.caption;
  EXPECT_EQ(app.WindowVisible(), GetParam().windowShown) << item.caption;
  EXPECT_TRUE(app.Responds());
}

std::vector<PowerItemCase> AllPowerItemCases() {
  std::vector<PowerItemCase> cases;
  for (const PowerItem& item : kPowerItems) {
    cases.push_back({item, false});
    cases.push_back({item, true});
  }
  return cases;
}

INSTANTIATE_TEST_SUITE_P(TrayMenu, PowerMenuItem, testing::ValuesIn(AllPowerItemCases()),
                         PowerItemCaseName);

// A click queued behind the menu command is handled inside the item's 100 ms,
// and the dispatcher, which reads the buttons only then, follows it.
TEST(TrayMenu, AClickPostedDuringTheWaitChangesWhichActionRuns) {
  struct Case {
    int position;
    ControlName clicked;
    const char* logLine;
  };
  const Case cases[] = {
      {3, 重启单选框, "ExitWindowsEx flags=6\n"},
      {6, 注销单选框, "ExitWindowsEx flags=4\n"},
      {5, 休眠单选框, "SetSystemPowerState suspend=1 force=1\n"},
  };
  for (const Case& c : cases) {
    TavrelProcess app = StartDryRun();
    ASSERT_TRUE(app.started());

    app.ChooseMenuItem(c.position);
    app.Click(c.clicked);

    ASSERT_TRUE(WaitForPowerLog(app, std::chrono::seconds(5))) << c.position;
    Sleep(200);
    EXPECT_EQ(app.PowerLog(), c.logLine) << c.position;
    EXPECT_EQ(CheckedButtons(app), NamesOf({c.clicked})) << c.position;
  }
}

// --- "锁定" ------------------------------------------------------------------

// Every process that Tavrel starts joins the job it is in; the job counts them.
class JobOfProcess {
 public:
  explicit JobOfProcess(HANDLE process) : job_(CreateJobObjectA(nullptr, nullptr)) {
    assigned_ = job_ != nullptr && AssignProcessToJobObject(job_, process);
  }
  ~JobOfProcess() {
    if (job_) CloseHandle(job_);
  }
  bool assigned() const { return assigned_; }
  JOBOBJECT_BASIC_ACCOUNTING_INFORMATION Accounting() const {
    JOBOBJECT_BASIC_ACCOUNTING_INFORMATION info{};
    QueryInformationJobObject(job_, JobObjectBasicAccountingInformation, &info, sizeof info,
                              nullptr);
    return info;
  }

 private:
  HANDLE job_;
  bool assigned_ = false;
};

TEST(TrayMenu, PlantedRundll32ReallyLeavesItsMarkerWhenStarted) {
  // The check that "锁定" does not start it is only worth something if the
  // planted program shows when it runs.
  const std::string folder = harness::FreshTestDirectory();
  ASSERT_TRUE(harness::CopyInto(OwnPath(), folder, kPlantedName));
  std::string line = "\"" + folder + "\\" + kPlantedName + "\" user32.dll,LockWorkStation";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  ASSERT_TRUE(CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                             &startup, &process));
  WaitForSingleObject(process.hProcess, 10000);
  DWORD code = STILL_ACTIVE;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);

  EXPECT_EQ(code, 0u);
  EXPECT_EQ(harness::ReadFileText(folder + "\\" + kPlantedMarker), line);
}

TEST(TrayMenu, LockStartsTheSystemsRundll32NotOneBesideTheProgram) {
  for (bool windowShown : {false, true}) {
    const std::string folder = harness::FreshTestDirectory(windowShown ? "-shown" : "-hidden");
    ASSERT_TRUE(harness::CopyInto(OwnPath(), folder, kPlantedName));
    TavrelProcess app(DryRunIn(folder));
    ASSERT_TRUE(app.started());
    JobOfProcess job(app.processHandle());
    ASSERT_TRUE(job.assigned());
    if (windowShown) ShowWindowOf(app);
    SendMessageA(app.control(CMD单选框), BM_CLICK, 0, 0);
    app.SetChecked(重启单选框, true);
    const std::string before = CheckedButtons(app);

    app.ChooseMenuItem(7);

    // Some program was started: Tavrel's child joined the job.
    ASSERT_TRUE(harness::WaitUntil([&] { return job.Accounting().TotalProcesses >= 2; }))
        << "nothing was started";
    // Whatever it was has ended, or has had ample time to leave a marker.
    harness::WaitUntil([&] { return job.Accounting().ActiveProcesses <= 1; },
                       std::chrono::seconds(5));
    EXPECT_TRUE(app.Responds());
    EXPECT_FALSE(harness::FileExists(folder + "\\" + kPlantedMarker))
        << "the rundll32.exe beside the program ran: "
        << harness::ReadFileText(folder + "\\" + kPlantedMarker);
    EXPECT_EQ(CheckedButtons(app), before);
    EXPECT_EQ(app.PowerLog(), "");
    EXPECT_EQ(app.WindowVisible(), windowShown);
  }
}

}  // namespace
