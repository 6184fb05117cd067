#include "shell/skin_attach.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace {

// One library, "D:\\Run\\SkinH_EL.dll", whose exports are chosen per test.
class OneLibraryLoader : public LibraryLoader {
 public:
  std::string FullPath(const std::string& path) override { return path; }
  ModuleHandle Load(const std::string& fullPath) override {
    if (!loadable || fullPath != "D:\\Run\\SkinH_EL.dll") return nullptr;
    ++loaded;
    return reinterpret_cast<ModuleHandle>(0x400000);
  }
  ExportAddress FindByName(ModuleHandle, const std::string& name) override {
    return exports.count(name) ? reinterpret_cast<ExportAddress>(0x401000) : nullptr;
  }
  ExportAddress FindByOrdinal(ModuleHandle, uint16_t) override { return nullptr; }
  void Unload(ModuleHandle) override { --loaded; }

  bool loadable = true;
  std::set<std::string> exports{"SkinH_AttachRes"};
  int loaded = 0;
};

class AttachSkinTest : public testing::Test {
 protected:
  SkinCallServices Services() {
    return {libraries, [this](const std::string& path) { return existing.count(path) > 0; },
            [this](ExportAddress function, const SkinCallArguments& arguments) {
              calledFunction = function;
              calls.push_back(arguments);
              return callResult;
            },
            [this](int32_t code, std::string_view message) {
              fatalCode = code;
              fatalMessage = std::string(message);
            }};
  }

  bool Attach(std::vector<uint8_t> data, std::string path = "D:\\Run\\SkinH_EL.dll") {
    SkinCallServices services = Services();
    return AttachSkinWith(path, data, "", 0, 0, 0, services);
  }

  OneLibraryLoader loader;
  OutsideLibraries libraries{loader};
  std::set<std::string> existing{"D:\\Run\\SkinH_EL.dll"};
  OutsideCallResult callResult{0, true};
  ExportAddress calledFunction = nullptr;
  std::vector<SkinCallArguments> calls;
  std::optional<int32_t> fatalCode;
  std::string fatalMessage;
};

TEST_F(AttachSkinTest, PassesTheDataAndItsCountAndReportsSuccess) {
  std::vector<uint8_t> data{'s', 'k', 'i', 'n'};
  SkinCallServices services = Services();
  EXPECT_TRUE(AttachSkinWith("D:\\Run\\SkinH_EL.dll", data, "", 0, 0, 0, services));
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calledFunction, reinterpret_cast<ExportAddress>(0x401000));
  EXPECT_EQ(calls[0][0], reinterpret_cast<uintptr_t>(data.data()));
  EXPECT_EQ(calls[0][1], 4u);
  EXPECT_EQ(calls[0][2], 0u);
  EXPECT_EQ(calls[0][3], 0u);
  EXPECT_EQ(calls[0][4], 0u);
  EXPECT_EQ(calls[0][5], 0u);
  EXPECT_FALSE(libraries.Binding().has_value());
  EXPECT_EQ(libraries.LoadedPaths().size(), 1u);
  EXPECT_FALSE(fatalCode.has_value());
}

TEST_F(AttachSkinTest, EmptyDataGoesAsNullAndZero) {
  EXPECT_TRUE(Attach({}));
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0][0], 0u);
  EXPECT_EQ(calls[0][1], 0u);
}

TEST_F(AttachSkinTest, NonZeroResultIsFalseButKeepsTheLibrary) {
  callResult = {1, true};
  EXPECT_FALSE(Attach({1}));
  callResult = {-1, true};
  EXPECT_FALSE(Attach({1}));
  EXPECT_EQ(calls.size(), 2u);
  EXPECT_EQ(loader.loaded, 1);
  EXPECT_FALSE(fatalCode.has_value());
}

TEST_F(AttachSkinTest, UnbalancedStackIsTheFatalErrorSix) {
  callResult = {0, false};
  Attach({1});
  ASSERT_TRUE(fatalCode.has_value());
  EXPECT_EQ(*fatalCode, 6);
  EXPECT_EQ(fatalMessage,
            "\xB5\xF7\xD3\xC3"
            "DLL"
            "\xC3\xFC\xC1\xEE\xBA\xF3\xB7\xA2\xCF\xD6\xB6\xD1\xD5\xBB"
            "\xB4\xED\xCE\xF3");
}

TEST_F(AttachSkinTest, NoCallWhenTheLibraryCannotBeBound) {
  struct Case {
    const char* name;
    bool fileThere;
    bool loadable;
    bool hasExport;
  } cases[] = {
      {"missing file", false, true, true},
      {"load fails", true, false, true},
      {"export missing", true, true, false},
  };
  for (const Case& c : cases) {
    OneLibraryLoader caseLoader;
    caseLoader.loadable = c.loadable;
    if (!c.hasExport) caseLoader.exports = {"SomethingElse"};
    OutsideLibraries caseLibraries(caseLoader);
    int called = 0;
    SkinCallServices services{caseLibraries, [&](const std::string&) { return c.fileThere; },
                              [&](ExportAddress, const SkinCallArguments&) {
                                ++called;
                                return OutsideCallResult{0, true};
                              },
                              [](int32_t, std::string_view) {}};
    std::vector<uint8_t> data{1, 2};
    EXPECT_FALSE(AttachSkinWith("D:\\Run\\SkinH_EL.dll", data, "", 0, 0, 0, services)) << c.name;
    EXPECT_EQ(called, 0) << c.name;
    EXPECT_EQ(caseLoader.loaded, 0) << c.name;
    EXPECT_FALSE(caseLibraries.Binding().has_value()) << c.name;
  }
}

TEST(SkinAttachArguments, TextAndIntegersGoAsTheirBits) {
  std::string text = "x";
  uint8_t byte = 9;
  SkinCallArguments arguments = SkinAttachArguments({&byte, 1}, text, -1, 2, 3);
  EXPECT_EQ(arguments[0], reinterpret_cast<uintptr_t>(&byte));
  EXPECT_EQ(arguments[1], 1u);
  EXPECT_EQ(arguments[2], reinterpret_cast<uintptr_t>(text.data()));
  EXPECT_EQ(arguments[3], 0xFFFFFFFFu);
  EXPECT_EQ(arguments[4], 2u);
  EXPECT_EQ(arguments[5], 3u);
}

// Records the step's calls in order.
struct StepRecorder {
  std::set<std::string> existing;
  std::vector<uint8_t> fileContent{'p', 'm', 'w'};
  std::vector<std::string> events;
  std::vector<uint8_t> attachedData;

  SkinStepServices Services() {
    return {[this](const std::string& path) {
              events.push_back("exists? " + path);
              return existing.count(path) > 0;
            },
            [this](const std::string& path) { events.push_back("resolve " + path); },
            [this](const std::string& path) {
              events.push_back("read " + path);
              return fileContent;
            },
            [this](std::span<const uint8_t> data) {
              events.push_back("attach");
              attachedData.assign(data.begin(), data.end());
              return false;
            },
            [this](int32_t scheme) {
              events.push_back("xp " + std::to_string(scheme));
              return true;
            }};
  }
};

TEST(RunSkinStepWith, ChoosesSkinOrXpLook) {
  const std::string library = "D:\\Run\\SkinH_EL.dll";
  const std::string skin = "D:\\Run\\pmw.she";
  struct Case {
    const char* name;
    std::set<std::string> existing;
    std::vector<std::string> events;
  } cases[] = {
      {"neither", {}, {"exists? " + library, "xp 2"}},
      {"skin file only: not even looked for", {skin}, {"exists? " + library, "xp 2"}},
      {"library only", {library}, {"exists? " + library, "exists? " + skin, "xp 2"}},
      {"both: the skin, and no XP look even when attaching fails",
       {library, skin},
       {"exists? " + library, "exists? " + skin, "resolve " + library, "read " + skin, "attach"}},
  };
  for (const Case& c : cases) {
    StepRecorder recorder;
    recorder.existing = c.existing;
    RunSkinStepWith("D:\\Run", recorder.Services());
    EXPECT_EQ(recorder.events, c.events) << c.name;
  }
}

TEST(RunSkinStepWith, HandsTheFileContentToAttach) {
  StepRecorder recorder;
  recorder.existing = {"D:\\Run\\SkinH_EL.dll", "D:\\Run\\pmw.she"};
  recorder.fileContent = {};
  RunSkinStepWith("D:\\Run", recorder.Services());
  EXPECT_TRUE(recorder.attachedData.empty());
  recorder.fileContent = {7, 8, 9};
  RunSkinStepWith("D:\\Run", recorder.Services());
  EXPECT_EQ(recorder.attachedData, (std::vector<uint8_t>{7, 8, 9}));
}

}  // namespace
