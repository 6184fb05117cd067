#include <vector>

#include "platform/files.h"
#include "platform/library.h"
#include "shell/fatal_error.h"
#include "shell/outside_library.h"
#include "shell/skin_attach.h"
#include "shell/skin_path.h"
#include "shell/skin_step.h"
#include "window/xp_look.h"

std::string SkinLibraryPath;

namespace {

OutsideLibraries& Libraries() {
  static OutsideLibraries libraries(SystemLibraryLoader());
  return libraries;
}

OutsideCallResult CallSkinFunction(ExportAddress function, const SkinCallArguments& arguments) {
  uintptr_t words[6];
  for (std::size_t at = 0; at < arguments.size(); ++at) words[at] = static_cast<uintptr_t>(arguments[at]);
  StackCheckedCall call = CallCheckingStack(function, words);
  return {static_cast<int32_t>(call.result), call.stackBalanced};
}

SkinCallServices CallServices() {
  return {Libraries(), FileExists, CallSkinFunction,
          [](int32_t code, std::string_view message) { ReportFatalError(code, message); }};
}

}  // namespace

std::string SystemDirectoryWithSlash() {
  std::string buffer(kSystemDirectoryBufferSize, ' ');
  if (!GetSystemDirectoryCheckingStack(buffer.data(), kSystemDirectoryBufferSize)) {
    ReportFatalError(kStackErrorCode, kStackErrorMessage);
  }
  return SystemDirectoryTextWithSlash(buffer);
}

void ResolveSkinLibraryPath(std::string_view path, const std::string& runDirectory) {
  SkinLibraryPath =
      ResolvedSkinLibraryPath(path, runDirectory, {FileExists, SystemDirectoryWithSlash});
}

bool BindNextOutsideCall(std::string_view libraryPath, std::string_view functionName) {
  return Libraries().BindNextOutsideCall(libraryPath, functionName);
}

bool PrepareSkinCall(std::string_view functionName) {
  SkinCallServices services = CallServices();
  return PrepareSkinCall(SkinLibraryPath, functionName, services);
}

bool AttachSkin(std::span<const uint8_t> skinData, std::string_view text, int32_t fourth,
                int32_t fifth, int32_t sixth) {
  SkinCallServices services = CallServices();
  return AttachSkinWith(SkinLibraryPath, skinData, text, fourth, fifth, sixth, services);
}

void RunSkinStep(const std::string& runDirectory) {
  RunSkinStepWith(
      runDirectory,
      {FileExists, [&](const std::string& path) { ResolveSkinLibraryPath(path, runDirectory); },
       ReadWholeFile,
       [](std::span<const uint8_t> skinData) { return AttachSkin(skinData, "", 0, 0, 0); },
       [](int32_t scheme) { return ApplyXpLook(scheme); }});
}

void FreeSkinLibraryPath() { std::string().swap(SkinLibraryPath); }

void UnloadOutsideLibraries() { Libraries().UnloadAll(); }
