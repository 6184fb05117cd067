#include "actions/tray_menu_actions.h"

#include <array>

namespace {

// The order in which a power item writes the radio buttons.
constexpr std::array<ControlName, 5> kRadioButtonWriteOrder{
    ControlName::注销单选框, ControlName::关机单选框, ControlName::重启单选框,
    ControlName::休眠单选框, ControlName::CMD单选框,
};

// A GBK trail byte can be 0x5C, so the last byte alone does not tell whether
// the text ends in a backslash; walk it character by character.
bool EndsWithBackslash(std::string_view text) {
  bool lastIsBackslash = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    lastIsBackslash = byte == '\\';
    if (byte >= 0x80) ++i;
  }
  return lastIsBackslash;
}

bool ContainsBlank(std::string_view text) {
  return text.find_first_of(" \t") != std::string_view::npos;
}

}  // namespace

void RunPowerMenuItem(ControlName itemButton, Controls& controls, MessageSource& source,
                      ActionCalls& calls) {
  // A radio button write changes that one button only, so all five are written.
  for (ControlName button : kRadioButtonWriteOrder) {
    controls.WriteChecked(button, button == itemButton ? 1 : 0);
  }
  PumpEventsFor(kPowerMenuItemPumpMilliseconds, source);
  // Handlers that ran during the pump may have moved the selection; the
  // buttons as they are now decide.
  ExecuteSelectedAction(controls, calls);
}

std::string LockCommandLine(std::string_view systemDirectory) {
  if (systemDirectory.empty()) return {};
  // A full path: with a bare "rundll32.exe" CreateProcessA looks in the
  // program's own folder first, and a file of that name there would run instead.
  std::string program(systemDirectory);
  if (!EndsWithBackslash(program)) program += '\\';
  program += "rundll32.exe";
  // Unquoted, CreateProcessA would take the path up to the first blank as the
  // program name.
  if (ContainsBlank(program)) program = '"' + program + '"';
  return program + " user32.dll,LockWorkStation";
}

void RunLockMenuItem(std::string_view systemDirectory, ActionCalls& calls) {
  const std::string commandLine = LockCommandLine(systemDirectory);
  if (commandLine.empty()) return;
  calls.StartProgram(commandLine, false);
}
