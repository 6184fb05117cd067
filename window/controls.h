#pragma once
// The controls of MainWindow by the names they are stored under, and the four
// properties through which the rest of the program reads and changes them.
// The logic only ever sees this interface, so it can run against a fake on the
// build machine; the real one lives with the window.

#include <string>
#include <string_view>

enum class ControlName {
  选择夹1,
  // Page "定时关机", in the page's own list order.
  CMD单选框,
  月编辑框,
  透明标签8,
  执行倒计时按钮,
  透明标签7,
  倒计时编辑框,
  休眠单选框,
  注销单选框,
  重启单选框,
  关机单选框,
  透明标签6,
  透明标签5,
  透明标签4,
  透明标签3,
  透明标签2,
  透明标签1,
  秒编辑框,
  分编辑框,
  时编辑框,
  日编辑框,
  年编辑框,
  执行按钮,
  // Page "CMD指令".
  透明标签10,
  CMD编辑框,
  透明标签9,
};

class Controls {
 public:
  virtual ~Controls() = default;
  // The box's whole content; the empty text when it is empty.
  virtual std::string ReadText(ControlName box) const = 0;
  virtual void WriteText(ControlName box, std::string_view text) = 0;
  // 1 when the radio button shows its mark, else 0.
  virtual int ReadChecked(ControlName button) const = 0;
  // Changes this one button only; any value but 0 puts the mark on.
  virtual void WriteChecked(ControlName button, int checked) = 0;
  // Shows (and activates) or hides MainWindow itself.
  virtual void WriteVisible(bool visible) = 0;
  // -1 selects the whole text; other negative counts select nothing.
  virtual void WriteSelectedCount(ControlName box, int count) = 0;
};
