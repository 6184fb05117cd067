#include "platform/clipboard.h"

#include <windows.h>

#include <cstring>

namespace {

// Fills the memory with the text and its terminating zero byte; the memory
// is one byte longer than the text.
bool CopyTextIntoGlobal(std::string_view text, HGLOBAL memory) {
  void* bytes = GlobalLock(memory);
  if (bytes == nullptr) return false;
  if (!text.empty()) std::memcpy(bytes, text.data(), text.size());
  static_cast<char*>(bytes)[text.size()] = '\0';
  GlobalUnlock(memory);
  return true;
}

}  // namespace

bool PutTextOnClipboard(std::string_view text) {
  // No owner window: the text stays on the clipboard for other programs
  // whatever becomes of ours. Another program holding the clipboard open
  // makes this fail.
  if (!OpenClipboard(nullptr)) return false;
  EmptyClipboard();
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, text.size() + 1);
  if (memory == nullptr) {
    CloseClipboard();
    return false;
  }
  // Once SetClipboardData accepts the memory it belongs to the system and
  // must not be touched again; until then, and when it is refused (the
  // documentation warns that an ownerless clipboard can refuse it), it is
  // still ours to free.
  const bool handedOver =
      CopyTextIntoGlobal(text, memory) && SetClipboardData(CF_TEXT, memory) != nullptr;
  if (!handedOver) GlobalFree(memory);
  CloseClipboard();
  return handedOver;
}
