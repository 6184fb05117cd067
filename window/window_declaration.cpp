#include "window/window_declaration.h"

#include <algorithm>

namespace {

using enum ControlName;
using K = ControlKind;

constexpr MainWindowDeclaration kMainWindow{
    "Tavrel.", 380, 250, 368, 216, {"定时关机", "CMD指令"}};

// Within each page the order is the page's own list order, which is also the
// stacking order: in the overlapping radio buttons the right-hand neighbour,
// listed earlier, lies on top and takes the click.
constexpr ControlDeclaration kControls[] = {
    {CMD单选框, K::RadioButton, 1, 224, 128, 80, 24, "CMD", false},
    {月编辑框, K::EditBox, 1, 88, 32, 32, 24, "", false},
    {透明标签8, K::TransparentLabel, 1, 265, 14, 120, 32, "输入时间24小时制", false},
    {执行倒计时按钮, K::PushButton, 1, 270, 164, 72, 24, "执行倒计时", false},
    {透明标签7, K::TransparentLabel, 1, 153, 161, 24, 32, "秒", false},
    {倒计时编辑框, K::EditBox, 1, 8, 164, 136, 24, "", false},
    {休眠单选框, K::RadioButton, 1, 169, 128, 80, 24, "休眠", false},
    {注销单选框, K::RadioButton, 1, 114, 128, 80, 24, "注销", false},
    {重启单选框, K::RadioButton, 1, 61, 128, 80, 24, "重启", false},
    {关机单选框, K::RadioButton, 1, 8, 128, 80, 24, "关机", true},
    {透明标签6, K::TransparentLabel, 1, 164, 88, 32, 24, "秒", false},
    {透明标签5, K::TransparentLabel, 1, 105, 88, 16, 24, "分", false},
    {透明标签4, K::TransparentLabel, 1, 44, 88, 20, 24, "时", false},
    {透明标签3, K::TransparentLabel, 1, 198, 32, 32, 24, "日", false},
    {透明标签2, K::TransparentLabel, 1, 126, 32, 24, 24, "月", false},
    {透明标签1, K::TransparentLabel, 1, 70, 32, 40, 24, "年", false},
    {秒编辑框, K::EditBox, 1, 129, 88, 31, 24, "", false},
    {分编辑框, K::EditBox, 1, 68, 88, 32, 24, "", false},
    {时编辑框, K::EditBox, 1, 8, 88, 32, 24, "", false},
    {日编辑框, K::EditBox, 1, 158, 32, 32, 24, "", false},
    {年编辑框, K::EditBox, 1, 6, 32, 64, 24, "", false},
    {执行按钮, K::PushButton, 1, 288, 88, 56, 24, "执行任务", false},
    {透明标签10, K::TransparentLabel, 2, 16, 152, 48, 32, "", false},
    {CMD编辑框, K::MultiLineEditBox, 2, 63, 40, 272, 104, "", false},
    {透明标签9, K::TransparentLabel, 2, 15, 40, 48, 32, "CMD命令", false},
};

constexpr ControlDeclaration kTabControl{选择夹1, K::TabControl, 0, 0, 0, 368, 216, "", false};

constexpr TrayMenuItemDeclaration kTrayMenu[] = {
    {1, "退出程序"}, {2, "显示窗口"}, {3, "关机"}, {4, "重启"},
    {5, "注销"},     {6, "休眠"},     {7, "锁定"},
};

std::vector<const ControlDeclaration*> TabStopsInReadingOrder(int page) {
  std::vector<const ControlDeclaration*> stops;
  for (const ControlDeclaration& control : kControls) {
    if (control.page == page && IsTabStop(control.kind)) stops.push_back(&control);
  }
  std::stable_sort(stops.begin(), stops.end(), [](const auto* a, const auto* b) {
    return a->top != b->top ? a->top < b->top : a->left < b->left;
  });
  return stops;
}

}  // namespace

const MainWindowDeclaration& MainWindowSettings() { return kMainWindow; }

std::span<const ControlDeclaration> ControlDeclarations() { return kControls; }

const ControlDeclaration& DeclarationOf(ControlName name) {
  for (const ControlDeclaration& control : kControls) {
    if (control.name == name) return control;
  }
  return kTabControl;
}

std::span<const TrayMenuItemDeclaration> TrayMenuItems() { return kTrayMenu; }

bool IsTabStop(ControlKind kind) {
  return kind == K::EditBox || kind == K::MultiLineEditBox || kind == K::RadioButton ||
         kind == K::PushButton;
}

ControlName FirstFocusOfPage(int page) {
  for (const ControlDeclaration& control : kControls) {
    if (control.page == page && IsTabStop(control.kind)) return control.name;
  }
  return 选择夹1;
}

ControlName NextTabStop(int page, ControlName from, bool backwards) {
  const std::vector<const ControlDeclaration*> stops = TabStopsInReadingOrder(page);
  if (stops.empty()) return from;
  const auto at = std::find_if(stops.begin(), stops.end(),
                               [from](const auto* control) { return control->name == from; });
  if (at == stops.end()) return backwards ? stops.back()->name : stops.front()->name;
  const std::ptrdiff_t count = static_cast<std::ptrdiff_t>(stops.size());
  const std::ptrdiff_t index = at - stops.begin();
  const std::ptrdiff_t next = (index + (backwards ? count - 1 : 1)) % count;
  return stops[static_cast<size_t>(next)]->name;
}
