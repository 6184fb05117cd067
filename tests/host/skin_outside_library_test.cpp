#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "shell/outside_library.h"

namespace {

// Libraries live at full paths; relative paths resolve against D:\Run, and the
// file system ignores ASCII case. Module handles are small integers.
class FakeLoader : public LibraryLoader {
 public:
  std::string FullPath(const std::string& path) override {
    std::string full = path;
    if (full.size() < 2 || full[1] != ':') full = "D:\\Run\\" + full;
    // Collapse ".\\" and "dir\\..\\" the way the system does.
    for (std::size_t at; (at = full.find("\\.\\")) != std::string::npos;) full.erase(at, 2);
    for (std::size_t at; (at = full.find("\\..\\")) != std::string::npos;) {
      std::size_t start = full.rfind('\\', at - 1);
      full.erase(start, at + 3 - start);
    }
    return full;
  }

  ModuleHandle Load(const std::string& fullPath) override {
    std::string key = Folded(fullPath);
    if (!exports.count(key)) {
      events.push_back("load failed " + fullPath);
      return nullptr;
    }
    auto module = reinterpret_cast<ModuleHandle>(++lastHandle);
    modules[module] = key;
    events.push_back("load " + fullPath);
    return module;
  }

  ExportAddress FindByName(ModuleHandle module, const std::string& name) override {
    events.push_back("find " + name);
    const std::set<std::string>& names = exports.at(modules.at(module));
    return names.count(name) ? Address(module, name) : nullptr;
  }

  ExportAddress FindByOrdinal(ModuleHandle module, uint16_t ordinal) override {
    events.push_back("ordinal " + std::to_string(ordinal));
    return FindByName(module, "#" + std::to_string(ordinal));
  }

  void Unload(ModuleHandle module) override {
    events.push_back("unload " + modules.at(module));
    modules.erase(module);
  }

  // A distinct, stable address per module and export.
  ExportAddress Address(ModuleHandle module, const std::string& name) {
    std::string key = std::to_string(reinterpret_cast<uintptr_t>(module)) + name;
    auto [it, added] = addresses.emplace(key, addresses.size() + 0x1000);
    return reinterpret_cast<ExportAddress>(it->second);
  }

  static std::string Folded(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return std::toupper(c); });
    return text;
  }

  void AddLibrary(const std::string& fullPath, std::set<std::string> names) {
    exports[Folded(fullPath)] = std::move(names);
  }

  std::map<std::string, std::set<std::string>> exports;  // by folded full path
  std::map<ModuleHandle, std::string> modules;           // loaded now
  std::map<std::string, uintptr_t> addresses;
  std::vector<std::string> events;
  uintptr_t lastHandle = 0;
};

class OutsideLibrariesTest : public testing::Test {
 protected:
  void SetUp() override {
    loader.AddLibrary("D:\\Run\\SkinH_EL.dll", {"SkinH_AttachRes", "#7"});
    loader.AddLibrary("D:\\Run\\NoExport.dll", {"Other"});
  }

  FakeLoader loader;
  OutsideLibraries libraries{loader};
};

TEST_F(OutsideLibrariesTest, BindsAndKeepsTheLibraryLoaded) {
  ASSERT_TRUE(libraries.BindNextOutsideCall("D:\\Run\\SkinH_EL.dll", "SkinH_AttachRes"));
  ASSERT_TRUE(libraries.Binding().has_value());
  EXPECT_EQ(libraries.Binding()->functionName, "SkinH_AttachRes");
  EXPECT_EQ(libraries.LoadedPaths(), std::vector<std::string>{"D:\\Run\\SkinH_EL.dll"});
  EXPECT_EQ(loader.modules.size(), 1u);
}

TEST_F(OutsideLibrariesTest, ReusesTheLibraryByCaseAndByRelativePath) {
  const char* paths[] = {"D:\\Run\\SkinH_EL.dll", "d:\\run\\skinh_el.DLL", "SkinH_EL.dll",
                         ".\\sub\\..\\SKINH_EL.dll"};
  ModuleHandle first = nullptr;
  for (const char* path : paths) {
    ASSERT_TRUE(libraries.BindNextOutsideCall(path, "SkinH_AttachRes")) << path;
    if (first == nullptr) first = libraries.Binding()->module;
    EXPECT_EQ(libraries.Binding()->module, first) << path;
  }
  EXPECT_EQ(std::count_if(loader.events.begin(), loader.events.end(),
                          [](const std::string& e) { return e.rfind("load ", 0) == 0; }),
            1);
  EXPECT_EQ(libraries.LoadedPaths().size(), 1u);
}

TEST_F(OutsideLibrariesTest, MissingFunctionUnloadsWhatItLoaded) {
  EXPECT_FALSE(libraries.BindNextOutsideCall("D:\\Run\\NoExport.dll", "SkinH_AttachRes"));
  EXPECT_FALSE(libraries.Binding().has_value());
  EXPECT_TRUE(libraries.LoadedPaths().empty());
  EXPECT_TRUE(loader.modules.empty());
  EXPECT_EQ(loader.events.back(), "unload D:\\RUN\\NOEXPORT.DLL");
}

TEST_F(OutsideLibrariesTest, MissingFunctionKeepsALibraryLoadedBefore) {
  ASSERT_TRUE(libraries.BindNextOutsideCall("D:\\Run\\SkinH_EL.dll", "SkinH_AttachRes"));
  EXPECT_FALSE(libraries.BindNextOutsideCall("D:\\Run\\SkinH_EL.dll", "Absent"));
  EXPECT_FALSE(libraries.Binding().has_value());
  EXPECT_EQ(libraries.LoadedPaths().size(), 1u);
  EXPECT_EQ(loader.modules.size(), 1u);
}

TEST_F(OutsideLibrariesTest, FailedLoadLeavesNoBinding) {
  ASSERT_TRUE(libraries.BindNextOutsideCall("D:\\Run\\SkinH_EL.dll", "SkinH_AttachRes"));
  EXPECT_FALSE(libraries.BindNextOutsideCall("D:\\Run\\Missing.dll", "SkinH_AttachRes"));
  EXPECT_FALSE(libraries.Binding().has_value());
  EXPECT_EQ(libraries.LoadedPaths().size(), 1u);
}

TEST_F(OutsideLibrariesTest, EmptyPathOnlyClearsTheBinding) {
  ASSERT_TRUE(libraries.BindNextOutsideCall("D:\\Run\\SkinH_EL.dll", "SkinH_AttachRes"));
  std::size_t eventsBefore = loader.events.size();
  EXPECT_TRUE(libraries.BindNextOutsideCall("", ""));
  EXPECT_FALSE(libraries.Binding().has_value());
  EXPECT_EQ(loader.events.size(), eventsBefore);
  EXPECT_EQ(libraries.LoadedPaths().size(), 1u);
}

TEST_F(OutsideLibrariesTest, EmptyFunctionNameCountsAsFound) {
  ASSERT_TRUE(libraries.BindNextOutsideCall("D:\\Run\\NoExport.dll", ""));
  EXPECT_EQ(libraries.Binding()->functionName, "");
  EXPECT_EQ(libraries.LoadedPaths().size(), 1u);
  // The call then goes to its own name in the bound library.
  ModuleHandle module = libraries.Binding()->module;
  EXPECT_EQ(libraries.TakeBoundFunction("Other"), loader.Address(module, "Other"));
}

TEST_F(OutsideLibrariesTest, OrdinalNamesSelectByNumber) {
  EXPECT_TRUE(libraries.BindNextOutsideCall("D:\\Run\\SkinH_EL.dll", "#7"));
  EXPECT_EQ(loader.events.back(), "find #7");
  EXPECT_TRUE(libraries.BindNextOutsideCall("D:\\Run\\SkinH_EL.dll", "#65543"));
  EXPECT_NE(std::find(loader.events.begin(), loader.events.end(), "ordinal 7"),
            loader.events.end());
  EXPECT_FALSE(libraries.BindNextOutsideCall("D:\\Run\\SkinH_EL.dll", "#8"));
}

TEST_F(OutsideLibrariesTest, TakingTheBoundFunctionClearsTheBinding) {
  ASSERT_TRUE(libraries.BindNextOutsideCall("D:\\Run\\SkinH_EL.dll", "SkinH_AttachRes"));
  ModuleHandle module = libraries.Binding()->module;
  EXPECT_EQ(libraries.TakeBoundFunction("Ignored"), loader.Address(module, "SkinH_AttachRes"));
  EXPECT_FALSE(libraries.Binding().has_value());
  EXPECT_EQ(libraries.TakeBoundFunction("SkinH_AttachRes"), nullptr);
}

TEST(OutsideLibraryList, TheTwentyFirstLoadUnloadsTheOldest) {
  FakeLoader loader;
  OutsideLibraries libraries(loader);
  for (int n = 1; n <= 21; ++n) {
    loader.AddLibrary("D:\\L" + std::to_string(n) + ".dll", {"F"});
  }
  for (int n = 1; n <= 20; ++n) {
    ASSERT_TRUE(libraries.BindNextOutsideCall("D:\\L" + std::to_string(n) + ".dll", "F"));
  }
  EXPECT_EQ(libraries.LoadedPaths().size(), 20u);
  EXPECT_EQ(loader.modules.size(), 20u);

  ASSERT_TRUE(libraries.BindNextOutsideCall("D:\\L21.dll", "F"));
  std::vector<std::string> paths = libraries.LoadedPaths();
  ASSERT_EQ(paths.size(), 20u);
  EXPECT_EQ(paths.front(), "D:\\L2.dll");
  EXPECT_EQ(paths.back(), "D:\\L21.dll");
  EXPECT_EQ(loader.modules.size(), 20u);
  // The oldest goes before the new one is loaded.
  ASSERT_GE(loader.events.size(), 3u);
  EXPECT_EQ(loader.events[loader.events.size() - 3], "unload D:\\L1.DLL");
  EXPECT_EQ(loader.events[loader.events.size() - 2], "load D:\\L21.dll");

  // A library still in the list is reused, not reloaded.
  std::size_t eventsBefore = loader.events.size();
  ASSERT_TRUE(libraries.BindNextOutsideCall("D:\\l2.dll", "F"));
  EXPECT_EQ(loader.events.size(), eventsBefore + 1);  // only the lookup of F

  libraries.UnloadAll();
  EXPECT_TRUE(loader.modules.empty());
  EXPECT_TRUE(libraries.LoadedPaths().empty());
}

TEST(OutsideLibraryList, ReuseFindsTheNewestOfTwoEntries) {
  // Two entries for one file can arise when the first was loaded under a
  // full path that the system later spells differently; the newest wins.
  class TwoSpellings : public FakeLoader {
   public:
    std::string FullPath(const std::string& path) override {
      return path == "late" ? "D:\\B.dll" : FakeLoader::FullPath(path);
    }
  } loader;
  loader.AddLibrary("D:\\A.dll", {"F"});
  loader.AddLibrary("D:\\B.dll", {"F"});
  OutsideLibraries libraries(loader);
  ASSERT_TRUE(libraries.BindNextOutsideCall("D:\\B.dll", "F"));
  ModuleHandle older = libraries.Binding()->module;
  ASSERT_TRUE(libraries.BindNextOutsideCall("D:\\A.dll", "F"));
  ASSERT_TRUE(libraries.BindNextOutsideCall("late", "F"));
  EXPECT_EQ(libraries.Binding()->module, older);
}

TEST(OrdinalOfFunctionName, ReadsTheNumberAfterTheHash) {
  struct Case {
    const char* name;
    std::optional<uint16_t> ordinal;
  } cases[] = {
      {"SkinH_AttachRes", std::nullopt},
      {"", std::nullopt},
      {"a#1", std::nullopt},
      {"#1", 1},
      {"#0", 0},
      {"#65535", 65535},
      {"#65536", 0},
      {"#65537", 1},
      {"#4294967297", 1},
      {"#123456789012345678901234567890", 2770},
      {"#12abc", 12},
      {"#", 0},
      {"#-1", 65535},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(OrdinalOfFunctionName(c.name), c.ordinal) << c.name;
  }
}

TEST(SamePathIgnoringCase, FoldsAsciiOnly) {
  EXPECT_TRUE(SamePathIgnoringCase("C:\\Skin\\A.DLL", "c:\\skin\\a.dll"));
  EXPECT_FALSE(SamePathIgnoringCase("C:\\A.dll", "C:\\B.dll"));
  EXPECT_FALSE(SamePathIgnoringCase("C:\\A.dll", "C:\\A.dl"));
  // 0x81 0x41 and 0x81 0x61 are two different characters, though their trail
  // bytes are "A" and "a".
  EXPECT_FALSE(
      SamePathIgnoringCase("C:\\\x81"
                           "A.dll",
                           "C:\\\x81"
                           "a.dll"));
  EXPECT_TRUE(
      SamePathIgnoringCase("C:\\\x81"
                           "A.DLL",
                           "C:\\\x81"
                           "A.dll"));
}

}  // namespace
