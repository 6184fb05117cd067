#pragma once
// Fakes for the actions' seams. They all write into one shared log, so a test
// can check the order of events across the controls, the message queue and
// the action calls.

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "actions/dispatcher.h"
#include "actions/pump_events.h"
#include "window/controls.h"

using EventLog = std::vector<std::string>;

inline std::string NameOf(ControlName control) {
  switch (control) {
    case ControlName::关机单选框:
      return "关机";
    case ControlName::重启单选框:
      return "重启";
    case ControlName::注销单选框:
      return "注销";
    case ControlName::休眠单选框:
      return "休眠";
    case ControlName::CMD单选框:
      return "CMD";
    case ControlName::CMD编辑框:
      return "CMD编辑框";
    case ControlName::倒计时编辑框:
      return "倒计时";
    case ControlName::年编辑框:
      return "年";
    case ControlName::月编辑框:
      return "月";
    case ControlName::日编辑框:
      return "日";
    case ControlName::时编辑框:
      return "时";
    case ControlName::分编辑框:
      return "分";
    case ControlName::秒编辑框:
      return "秒";
    default:
      return "other#" + std::to_string(static_cast<int>(control));
  }
}

class FakeControls : public Controls {
 public:
  explicit FakeControls(EventLog& log) : log_(log) {}

  std::map<ControlName, int> checked;
  std::map<ControlName, std::string> texts;
  // Runs after a write of the window's visibility, as a handler of the real
  // window would run while it is being hidden or shown.
  std::function<void(bool visible)> onWriteVisible;

  std::string ReadText(ControlName box) const override {
    log_.push_back("text? " + NameOf(box));
    auto found = texts.find(box);
    return found == texts.end() ? std::string() : found->second;
  }
  void WriteText(ControlName box, std::string_view text) override {
    log_.push_back("text= " + NameOf(box));
    texts[box] = std::string(text);
  }
  int ReadChecked(ControlName button) const override {
    log_.push_back("checked? " + NameOf(button));
    auto found = checked.find(button);
    return found == checked.end() ? 0 : found->second;
  }
  void WriteChecked(ControlName button, int value) override {
    log_.push_back("checked= " + NameOf(button) + " " + std::to_string(value));
    checked[button] = value != 0 ? 1 : 0;
  }
  void WriteVisible(bool visible) override {
    log_.push_back(visible ? "show" : "hide");
    if (onWriteVisible) onWriteVisible(visible);
  }
  void WriteSelectedCount(ControlName box, int count) override {
    log_.push_back("select " + NameOf(box) + " " + std::to_string(count));
  }

 private:
  EventLog& log_;
};

class FakeActionCalls : public ActionCalls {
 public:
  explicit FakeActionCalls(EventLog& log) : log_(log) {}

  bool RequestPowerAction(PowerAction action, bool force) override {
    log_.push_back("power " + std::to_string(action) + (force ? " forced" : " unforced"));
    return true;
  }
  bool StartProgram(const std::string& commandLine, bool wait) override {
    log_.push_back("start [" + commandLine + "]" + (wait ? " wait" : " nowait"));
    return true;
  }

 private:
  EventLog& log_;
};

// A clock that moves `step` ms every time it is read, and a queue whose
// messages either wait there from the start or arrive at a given tick. Each
// message may carry a handler that runs when it is dispatched.
class FakeMessageSource : public MessageSource {
 public:
  struct Message {
    PendingMessage kind = PendingMessage::kOther;
    std::string name;
    std::function<void()> handler;
  };

  FakeMessageSource(EventLog& log, uint32_t start, uint32_t step)
      : log_(log), now_(start), step_(step) {}

  void Queue(Message message) { queue_.push_back(std::move(message)); }
  void ArriveAt(uint32_t tick, Message message) { arrivals_.push_back({tick, std::move(message)}); }

  uint32_t TickCount() override {
    const uint32_t reading = now_;
    now_ += step_;
    readings.push_back(reading);
    log_.push_back("tick");
    // An arrival goes into the queue once the clock has been seen at or past
    // its tick (compared by signed difference, so it holds across the wrap).
    for (auto it = arrivals_.begin(); it != arrivals_.end();) {
      if (static_cast<int32_t>(reading - it->first) >= 0) {
        queue_.push_back(std::move(it->second));
        it = arrivals_.erase(it);
      } else {
        ++it;
      }
    }
    return reading;
  }
  PendingMessage PeekPending() override {
    log_.push_back("peek");
    return queue_.empty() ? PendingMessage::kNone : queue_.front().kind;
  }
  void TakeAndDispatchOne() override {
    if (queue_.empty()) {
      log_.push_back("take from empty queue");
      return;
    }
    Message message = std::move(queue_.front());
    queue_.pop_front();
    log_.push_back("dispatch " + message.name);
    if (message.kind == PendingMessage::kQuit) log_.push_back("WM_QUIT taken");
    if (message.handler) message.handler();
  }

  std::vector<uint32_t> readings;
  std::size_t QueuedCount() const { return queue_.size(); }
  PendingMessage Front() const {
    return queue_.empty() ? PendingMessage::kNone : queue_.front().kind;
  }

 private:
  EventLog& log_;
  uint32_t now_;
  uint32_t step_;
  std::deque<Message> queue_;
  std::vector<std::pair<uint32_t, Message>> arrivals_;
};
