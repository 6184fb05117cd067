#pragma once
// The order of the skin step and of the call into the skin library, over the
// services they need, so the same steps run in the program and against fakes.

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "shell/outside_library.h"

inline constexpr std::string_view kSkinAttachFunction = "SkinH_AttachRes";
inline constexpr std::string_view kSkinLibraryFileName = "\\SkinH_EL.dll";
inline constexpr std::string_view kSkinFileName = "\\pmw.she";
inline constexpr int32_t kStackErrorCode = 6;
inline constexpr std::string_view kStackErrorMessage = "调用DLL命令后发现堆栈错误";

// Six 32-bit arguments in the order of the call; addresses travel as
// integers, which on the target are 32 bits wide.
using SkinCallArguments = std::array<uintptr_t, 6>;

struct OutsideCallResult {
  int32_t value;
  // Whether the callee removed exactly its arguments from the stack.
  bool stackBalanced;
};

struct SkinCallServices {
  OutsideLibraries& libraries;
  std::function<bool(const std::string& path)> fileExists;
  std::function<OutsideCallResult(ExportAddress function, const SkinCallArguments& arguments)>
      callOutside;
  // Does not return in the program.
  std::function<void(int32_t code, std::string_view message)> reportFatalError;
};

// False when the library that skinLibraryPath names is missing, cannot be
// loaded or lacks the function; otherwise the next outside call is bound to it.
bool PrepareSkinCall(const std::string& skinLibraryPath, std::string_view functionName,
                     SkinCallServices& services);

// The arguments of SkinH_AttachRes: null addresses for empty data and text.
SkinCallArguments SkinAttachArguments(std::span<const uint8_t> skinData, std::string_view text,
                                      int32_t fourth, int32_t fifth, int32_t sixth);

// True exactly when SkinH_AttachRes was called and returned 0.
bool AttachSkinWith(const std::string& skinLibraryPath, std::span<const uint8_t> skinData,
                    std::string_view text, int32_t fourth, int32_t fifth, int32_t sixth,
                    SkinCallServices& services);

struct SkinStepServices {
  std::function<bool(const std::string& path)> fileExists;
  std::function<void(const std::string& path)> resolveSkinLibraryPath;
  std::function<std::vector<uint8_t>(const std::string& path)> readWholeFile;
  std::function<bool(std::span<const uint8_t> skinData)> attachSkin;
  std::function<bool(int32_t scheme)> applyXpLook;
};

// The skin from the two files beside the program, or else the XP look in
// scheme 2; never both.
void RunSkinStepWith(std::string_view runDirectory, const SkinStepServices& services);
