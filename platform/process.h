#pragma once
// Starting a command line as a new process.

#include <string>

// True when the process was created. Without `wait` the caller is held until
// the new program waits for input, for at most a second; with it, until the
// program ends. The line goes to CreateProcessA as it is, not to a command
// interpreter.
bool StartProgram(const std::string& commandLine, bool wait);

// The folder GetSystemDirectoryA names (as a rule without a trailing
// backslash); empty when it cannot be read.
std::string ReadSystemDirectory();
