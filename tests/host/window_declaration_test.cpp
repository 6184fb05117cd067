#include "window/window_declaration.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace {

using enum ControlName;

std::vector<ControlName> TabCycle(int page, ControlName start, bool backwards) {
  std::vector<ControlName> seen{start};
  for (ControlName at = NextTabStop(page, start, backwards); at != start;
       at = NextTabStop(page, at, backwards)) {
    seen.push_back(at);
    if (seen.size() > 30) break;  // a broken cycle must not hang the test
  }
  return seen;
}

TEST(TabOrder, FirstPageGoesInReadingOrderAndWraps) {
  const std::vector<ControlName> expected{年编辑框, 月编辑框, 日编辑框, 时编辑框, 分编辑框,
                                          秒编辑框, 执行按钮, 关机单选框, 重启单选框, 注销单选框,
                                          休眠单选框, CMD单选框, 倒计时编辑框, 执行倒计时按钮};
  EXPECT_EQ(TabCycle(1, 年编辑框, false), expected);
  std::vector<ControlName> reversed{年编辑框};
  reversed.insert(reversed.end(), expected.rbegin(), expected.rend() - 1);
  EXPECT_EQ(TabCycle(1, 年编辑框, true), reversed);
}

TEST(TabOrder, LabelsAndOtherPagesStartAtTheEnds) {
  EXPECT_EQ(NextTabStop(1, 透明标签8, false), 年编辑框);
  EXPECT_EQ(NextTabStop(1, CMD编辑框, true), 执行倒计时按钮);
  EXPECT_EQ(NextTabStop(2, CMD编辑框, false), CMD编辑框);
  EXPECT_EQ(NextTabStop(2, 年编辑框, false), CMD编辑框);
}

TEST(PageFocus, FirstFocusableControlInListOrder) {
  EXPECT_EQ(FirstFocusOfPage(1), CMD单选框);
  EXPECT_EQ(FirstFocusOfPage(2), CMD编辑框);
}

TEST(Declaration, EveryControlOnceAndMenuCommandsDistinct) {
  std::set<ControlName> names;
  for (const ControlDeclaration& control : ControlDeclarations()) {
    EXPECT_TRUE(names.insert(control.name).second);
    EXPECT_EQ(DeclarationOf(control.name).name, control.name);
  }
  EXPECT_EQ(names.size(), 25u);
  EXPECT_EQ(DeclarationOf(选择夹1).kind, ControlKind::TabControl);
  int position = 1;
  for (const TrayMenuItemDeclaration& item : TrayMenuItems()) EXPECT_EQ(item.position, position++);
}

}  // namespace
