#pragma once
// The tray menu items that act at once: the four power items and "锁定".

#include <string>
#include <string_view>

#include "actions/dispatcher.h"
#include "actions/pump_events.h"
#include "window/controls.h"

// How long a power item lets pending messages run before it acts, in ms.
constexpr int32_t kPowerMenuItemPumpMilliseconds = 100;

// For the items "关机", "重启", "注销" and "休眠": `itemButton` is the item's
// radio button (关机单选框, 重启单选框, 注销单选框 or 休眠单选框). Selects it,
// clearing the other four, lets pending messages run, then acts on whatever
// the buttons say by then.
void RunPowerMenuItem(ControlName itemButton, Controls& controls, MessageSource& source,
                      ActionCalls& calls);

// The command line that locks the workstation through the rundll32.exe of
// `systemDirectory` (with or without a trailing backslash). Empty when the
// directory is unknown.
std::string LockCommandLine(std::string_view systemDirectory);

// The item "锁定": starts LockCommandLine without waiting for it to end.
// Nothing happens when the system directory is unknown (empty).
void RunLockMenuItem(std::string_view systemDirectory, ActionCalls& calls);
