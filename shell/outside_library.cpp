#include "shell/outside_library.h"

#include <algorithm>
#include <cstdint>

std::optional<uint16_t> OrdinalOfFunctionName(std::string_view functionName) {
  if (functionName.empty() || functionName.front() != '#') return std::nullopt;
  std::string_view digits = functionName.substr(1);
  bool negative = !digits.empty() && digits.front() == '-';
  if (negative || (!digits.empty() && digits.front() == '+')) digits.remove_prefix(1);
  // Kept modulo 65536 while reading, so any number of digits fits.
  uint32_t value = 0;
  for (char digit : digits) {
    if (digit < '0' || digit > '9') break;
    value = (value * 10 + static_cast<uint32_t>(digit - '0')) % 65536;
  }
  if (negative) value = (65536 - value) % 65536;
  return static_cast<uint16_t>(value);
}

ExportAddress FindFunction(LibraryLoader& loader, ModuleHandle module,
                           std::string_view functionName) {
  if (std::optional<uint16_t> ordinal = OrdinalOfFunctionName(functionName)) {
    return loader.FindByOrdinal(module, *ordinal);
  }
  return loader.FindByName(module, std::string(functionName));
}

namespace {

char FoldAsciiCase(char byte) { return byte >= 'a' && byte <= 'z' ? byte - 'a' + 'A' : byte; }

}  // namespace

bool SamePathIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t at = 0; at < a.size(); ++at) {
    if (static_cast<unsigned char>(a[at]) >= 0x80) {
      // A trail byte may look like an ASCII letter; the character must match
      // exactly, trail byte included.
      if (a[at] != b[at]) return false;
      if (++at < a.size() && a[at] != b[at]) return false;
      continue;
    }
    if (FoldAsciiCase(a[at]) != FoldAsciiCase(b[at])) return false;
  }
  return true;
}

bool OutsideLibraries::BindNextOutsideCall(std::string_view libraryPath,
                                           std::string_view functionName) {
  binding_.reset();
  if (libraryPath.empty()) return true;
  std::string fullPath = loader_.FullPath(std::string(libraryPath));

  ModuleHandle module = nullptr;
  auto hit = std::find_if(loaded_.rbegin(), loaded_.rend(), [&](const Loaded& entry) {
    return SamePathIgnoringCase(entry.fullPath, fullPath);
  });
  bool loadedNow = hit == loaded_.rend();
  if (!loadedNow) {
    module = hit->module;
  } else {
    // The room is made before the load, so even a load that fails has
    // already cost the oldest library its place.
    if (loaded_.size() >= kMaxLoaded) {
      loader_.Unload(loaded_.front().module);
      loaded_.erase(loaded_.begin());
    }
    module = loader_.Load(fullPath);
    if (module == nullptr) return false;
  }

  bool found = functionName.empty() || FindFunction(loader_, module, functionName) != nullptr;
  if (!found) {
    if (loadedNow) loader_.Unload(module);
    return false;
  }
  binding_ = CallBinding{module, std::string(functionName)};
  if (loadedNow) loaded_.push_back(Loaded{std::move(fullPath), module});
  return true;
}

ExportAddress OutsideLibraries::TakeBoundFunction(std::string_view callsOwnName) {
  std::optional<CallBinding> binding = std::move(binding_);
  binding_.reset();
  if (!binding) return nullptr;
  std::string_view name = binding->functionName.empty() ? callsOwnName : binding->functionName;
  if (name.empty()) return nullptr;
  return FindFunction(loader_, binding->module, name);
}

std::vector<std::string> OutsideLibraries::LoadedPaths() const {
  std::vector<std::string> paths;
  for (const Loaded& entry : loaded_) paths.push_back(entry.fullPath);
  return paths;
}

void OutsideLibraries::UnloadAll() {
  for (const Loaded& entry : loaded_) loader_.Unload(entry.module);
  loaded_.clear();
  binding_.reset();
}
