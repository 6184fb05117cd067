#include "shell/skin_attach.h"

bool PrepareSkinCall(const std::string& skinLibraryPath, std::string_view functionName,
                     SkinCallServices& services) {
  if (!services.fileExists(skinLibraryPath)) return false;
  return services.libraries.BindNextOutsideCall(skinLibraryPath, functionName);
}

SkinCallArguments SkinAttachArguments(std::span<const uint8_t> skinData, std::string_view text,
                                      int32_t fourth, int32_t fifth, int32_t sixth) {
  auto address = [](const void* data, bool empty) {
    return empty ? uintptr_t{0} : reinterpret_cast<uintptr_t>(data);
  };
  // Integers go over as their 32-bit pattern, as the callee reads them.
  auto bits = [](int32_t value) { return uintptr_t{static_cast<uint32_t>(value)}; };
  return {address(skinData.data(), skinData.empty()),
          uintptr_t{static_cast<uint32_t>(skinData.size())},
          address(text.data(), text.empty()),
          bits(fourth),
          bits(fifth),
          bits(sixth)};
}

bool AttachSkinWith(const std::string& skinLibraryPath, std::span<const uint8_t> skinData,
                    std::string_view text, int32_t fourth, int32_t fifth, int32_t sixth,
                    SkinCallServices& services) {
  if (!PrepareSkinCall(skinLibraryPath, kSkinAttachFunction, services)) return false;
  // The text argument must be zero-terminated for the callee.
  std::string terminatedText(text);
  ExportAddress function = services.libraries.TakeBoundFunction(kSkinAttachFunction);
  bool succeeded = false;
  if (function != nullptr) {
    OutsideCallResult result = services.callOutside(
        function, SkinAttachArguments(skinData, terminatedText, fourth, fifth, sixth));
    if (!result.stackBalanced) services.reportFatalError(kStackErrorCode, kStackErrorMessage);
    succeeded = result.value == 0;
  }
  services.libraries.BindNextOutsideCall("", "");
  return succeeded;
}

void RunSkinStepWith(std::string_view runDirectory, const SkinStepServices& services) {
  std::string library = std::string(runDirectory) + std::string(kSkinLibraryFileName);
  std::string skinFile = std::string(runDirectory) + std::string(kSkinFileName);
  // The skin file is looked for only once the library is known to be there.
  if (services.fileExists(library) && services.fileExists(skinFile)) {
    services.resolveSkinLibraryPath(library);
    std::vector<uint8_t> skinData = services.readWholeFile(skinFile);
    services.attachSkin(skinData);
    return;
  }
  services.applyXpLook(2);
}
