#pragma once
// The optional skin: finding the skin library, attaching its skin, or else the
// built-in XP look; and letting go of all of it at the end.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

// The program's one global value: the path of the skin library. Empty at
// start.
extern std::string SkinLibraryPath;

// Sets SkinLibraryPath from the given path (empty at start-up) and the
// library's usual places beside the program and in the system directory.
void ResolveSkinLibraryPath(std::string_view path, const std::string& runDirectory);

// The first step of MainWindow's creation handler.
void RunSkinStep(const std::string& runDirectory);

// The exit routine: releases SkinLibraryPath.
void FreeSkinLibraryPath();

// Unloads every library loaded for a call into an outside library; the last
// thing before the process ends.
void UnloadOutsideLibraries();

// The system directory ending in a backslash.
std::string SystemDirectoryWithSlash();

bool BindNextOutsideCall(std::string_view libraryPath, std::string_view functionName);
bool PrepareSkinCall(std::string_view functionName);

// True exactly when SkinH_AttachRes of the library in SkinLibraryPath was
// called and returned 0.
bool AttachSkin(std::span<const uint8_t> skinData, std::string_view text, int32_t fourth,
                int32_t fifth, int32_t sixth);
