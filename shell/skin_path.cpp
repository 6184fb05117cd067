#include "shell/skin_path.h"

#include <cstddef>

namespace {

constexpr std::string_view kLibraryFileName = "SkinH_EL.dll";

bool IsLeadByte(char byte) { return static_cast<unsigned char>(byte) >= 0x80; }

// The length of the character that starts at `at`, or 0 for a lead byte with
// nothing after it.
std::size_t CharacterLength(std::string_view text, std::size_t at) {
  if (!IsLeadByte(text[at])) return 1;
  return at + 1 < text.size() ? 2 : 0;
}

bool IsBlank(std::string_view character) { return character == " " || character == "\xA1\xA1"; }

}  // namespace

std::string TrimBlanks(std::string_view text) {
  std::size_t first = text.size();
  std::size_t end = 0;
  for (std::size_t at = 0; at < text.size();) {
    std::size_t length = CharacterLength(text, at);
    if (length == 0) break;
    if (!IsBlank(text.substr(at, length))) {
      if (first == text.size()) first = at;
      end = at + length;
    }
    at += length;
  }
  if (first >= end) return {};
  return std::string(text.substr(first, end - first));
}

std::string SystemDirectoryTextWithSlash(std::string_view buffer) {
  std::string text(buffer.substr(0, buffer.find('\0')));
  // The last byte, not the last character: this is how the directory was
  // always tested, and a system directory never ends in a double-byte
  // character.
  if (text.empty() || text.back() != '\\') text += '\\';
  return text;
}

std::string ResolvedSkinLibraryPath(std::string_view path, std::string_view runDirectory,
                                    const SkinPathQueries& queries) {
  std::string resolved = TrimBlanks(path);
  if (queries.fileExists(resolved)) return resolved;
  std::string besideProgram = std::string(runDirectory) + "\\" + std::string(kLibraryFileName);
  if (queries.fileExists(besideProgram)) resolved = besideProgram;
  // Looked at even when the library lies beside the program: the copy in the
  // system directory wins.
  std::string inSystem = queries.systemDirectoryWithSlash() + std::string(kLibraryFileName);
  if (queries.fileExists(inSystem)) resolved = inSystem;
  return resolved;
}
