#pragma once
// Calls into outside libraries: the list of libraries loaded for them and the
// binding of the next call to one function of one library. The decisions are
// made here; the loading itself goes through LibraryLoader, so the rules can
// be run against a fake on the build machine.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

using ModuleHandle = void*;
using ExportAddress = void*;

class LibraryLoader {
 public:
  virtual ~LibraryLoader() = default;
  // The full path that the system makes of the path; the empty text when it
  // cannot make one that fits its 260-byte buffer.
  virtual std::string FullPath(const std::string& path) = 0;
  // Null when the library cannot be loaded.
  virtual ModuleHandle Load(const std::string& fullPath) = 0;
  // Null when the library has no such export.
  virtual ExportAddress FindByName(ModuleHandle module, const std::string& name) = 0;
  virtual ExportAddress FindByOrdinal(ModuleHandle module, uint16_t ordinal) = 0;
  virtual void Unload(ModuleHandle module) = 0;
};

// The ordinal that a function name of the form "#n" selects: the decimal
// number after the "#" (digits up to the first other character; none reads as
// 0, a leading minus counts) taken modulo 65536. No value for any other name.
std::optional<uint16_t> OrdinalOfFunctionName(std::string_view functionName);

// The export that a non-empty function name selects, by ordinal or by name.
ExportAddress FindFunction(LibraryLoader& loader, ModuleHandle module,
                           std::string_view functionName);

// Equal paths as the file system sees them: ASCII letters match in either
// case, a double-byte character only itself.
bool SamePathIgnoringCase(std::string_view a, std::string_view b);

struct CallBinding {
  ModuleHandle module;
  // Empty means the name the call itself was made under.
  std::string functionName;
};

class OutsideLibraries {
 public:
  static constexpr std::size_t kMaxLoaded = 20;

  explicit OutsideLibraries(LibraryLoader& loader) : loader_(loader) {}

  // Binds the next outside call to the function of the library, loading the
  // library unless it is loaded already. Two empty texts only clear the
  // binding. False, with no binding and nothing left loaded for this attempt,
  // when the library cannot be loaded or lacks the function.
  bool BindNextOutsideCall(std::string_view libraryPath, std::string_view functionName);

  // The function that the next outside call, made under `callsOwnName`, goes
  // to; the binding is cleared by taking it. Null when nothing is bound or
  // the bound library no longer yields the function.
  ExportAddress TakeBoundFunction(std::string_view callsOwnName);

  const std::optional<CallBinding>& Binding() const { return binding_; }

  // Full paths of the loaded libraries, oldest first.
  std::vector<std::string> LoadedPaths() const;

  // Unloads every library of the list, oldest first, and empties it.
  void UnloadAll();

 private:
  struct Loaded {
    std::string fullPath;
    ModuleHandle module;
  };

  LibraryLoader& loader_;
  std::vector<Loaded> loaded_;
  std::optional<CallBinding> binding_;
};
