#pragma once
// The two calls that end a power request. Tavrel.exe links power_calls.cpp,
// which makes them; Tavrel-dryrun.exe links power_calls_dryrun.cpp, which
// records each one as a line of power-requests.log next to the executable and
// reports success. Everything before them runs the same in both.

#include <cstdint>

bool CallExitWindowsEx(uint32_t flags, uint32_t reason);
bool CallSetSystemPowerState(bool suspend, bool force);
