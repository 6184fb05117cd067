#pragma once
#include <cstdint>
#include <string_view>

[[noreturn]] void ReportFatalError(int32_t code, std::string_view message);
