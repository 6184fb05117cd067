#pragma once
// Files, as the skin step reads them.

#include <cstdint>
#include <string>
#include <vector>

// Whether FindFirstFileA finds an entry for the path taken as a search
// pattern: a directory counts, wildcards match, an empty path finds nothing.
bool FileExists(const std::string& path);

// The whole content of the file, opened for reading while others may read but
// not write it. A short read keeps what was read; any failure, and an empty
// file, give no bytes.
std::vector<uint8_t> ReadWholeFile(const std::string& path);

// GetSystemDirectoryA into the buffer with the given size, its result not
// looked at. False when the call did not remove exactly its arguments from the
// stack.
bool GetSystemDirectoryCheckingStack(char* buffer, uint32_t size);
