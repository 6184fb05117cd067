#include "schedule/run_handlers.h"

#include <array>
#include <optional>
#include <string>

#include "schedule/text_to_number.h"

namespace {

using enum ControlName;

constexpr std::array<ControlName, 6> kDateTimeFields{年编辑框, 月编辑框, 日编辑框,
                                                     时编辑框, 分编辑框, 秒编辑框};

DateTimeFieldTexts ReadFieldTexts(const Controls& controls) {
  return {controls.ReadText(年编辑框), controls.ReadText(月编辑框), controls.ReadText(日编辑框),
          controls.ReadText(时编辑框), controls.ReadText(分编辑框), controls.ReadText(秒编辑框)};
}

bool AnyFieldEmpty(const Controls& controls) {
  for (ControlName field : kDateTimeFields) {
    if (controls.ReadText(field).empty()) return true;
  }
  return false;
}

}  // namespace

void PrefillDateTimeFields(Controls& controls, ScheduleServices& services) {
  const DateTimeFieldTexts texts = PrefillFieldTexts(services.CurrentLocalDateTime());
  controls.WriteText(年编辑框, texts.year);
  controls.WriteText(月编辑框, texts.month);
  controls.WriteText(日编辑框, texts.day);
  controls.WriteText(时编辑框, texts.hour);
  controls.WriteText(分编辑框, texts.minute);
  controls.WriteText(秒编辑框, texts.second);
}

void RunAtDateTime(Controls& controls, ScheduleServices& services, ActionCalls& calls) {
  if (AnyFieldEmpty(controls)) {
    services.ShowInformation(kIncompleteDateTimeMessage);
    return;
  }
  const std::optional<CivilDateTime> target =
      ParseDateTimeText(JoinDateTimeText(ReadFieldTexts(controls)));
  if (!target) {
    services.ShowInformation(kInvalidDateTimeMessage);
    return;
  }
  controls.WriteVisible(false);
  // The span is fixed here, between two UTC moments, so the action comes at
  // the entered wall-clock time even across a daylight-saving change, and a
  // later change of the clock does not move it.
  const int64_t clickUtc = services.CurrentUtcSeconds();
  const int64_t seconds = services.LocalToUtcSeconds(*target) - clickUtc;
  services.WaitMilliseconds(seconds * 1000);
  ExecuteSelectedAction(controls, calls);
}

void RunCountdown(Controls& controls, ScheduleServices& services, ActionCalls& calls) {
  if (controls.ReadText(倒计时编辑框).empty()) return;
  const int64_t clicked = services.MonotonicMilliseconds();
  controls.WriteVisible(false);
  const int64_t count = SecondsToMilliseconds(TextToNumber(controls.ReadText(倒计时编辑框)));
  // The seconds count from the click: hiding the window can take a good part
  // of a timer tick, and the user asked for the action that long after the
  // click, not after the window had gone.
  const int64_t spent = services.MonotonicMilliseconds() - clicked;
  services.WaitMilliseconds(count > 0 && spent > 0 ? count - spent : count);
  ExecuteSelectedAction(controls, calls);
}
