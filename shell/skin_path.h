#pragma once
// How the program finds the skin library: the text rules behind
// SkinLibraryPath, kept apart from the file system so they can be checked on
// the build machine.

#include <functional>
#include <string>
#include <string_view>

// The text without the blanks at its start and end. A blank is the ASCII
// space or the ideographic space A1 A1; the text is walked character by
// character, so a trail byte is never taken for a blank, and a lead byte left
// alone at the very end is dropped.
std::string TrimBlanks(std::string_view text);

// The size handed to GetSystemDirectoryA, and the length of the buffer of
// spaces it writes into.
inline constexpr int kSystemDirectoryBufferSize = 255;

// The text that the buffer of GetSystemDirectoryA holds after the call (the
// call may have left it untouched), cut at its first zero byte and ended by
// one backslash.
std::string SystemDirectoryTextWithSlash(std::string_view buffer);

// What ResolveSkinLibraryPath needs from the machine. The system directory is
// asked for only when the search gets that far, since asking for it is a call
// into the system whose stack is checked.
struct SkinPathQueries {
  std::function<bool(const std::string& path)> fileExists;
  std::function<std::string()> systemDirectoryWithSlash;
};

// The new value of SkinLibraryPath for the given path: the trimmed path when
// it names an existing file, else the library in the system directory, else
// the one next to the executable, else still the trimmed path.
std::string ResolvedSkinLibraryPath(std::string_view path, std::string_view runDirectory,
                                    const SkinPathQueries& queries);
