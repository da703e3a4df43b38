#include "tests/support/ScriptedWindowSystem.h"

#include <algorithm>
#include <utility>

#include "control/Menu.h"

namespace mtd {

namespace {
// Marks the timer messages that the timer itself made, as opposed to ones a script posted.
constexpr int FROM_TIMER = 1;
// Every animated step draws between two pumps; this many empty pumps in a row with nothing
// drawn means a loop spins where it should wait.
constexpr long MAX_EMPTY_PUMPS_IN_A_ROW = 1'000'000;

// The accelerator table's key that a key message is, if any: function keys by number, letters
// as typed, so that 'G' and 'L' match nothing.
std::optional<AcceleratorKey> acceleratorKeyOf(const ScriptedMessage& message) {
  if (message.kind == ScriptedMessage::Kind::Character) {
    if (message.value == 'g') return AcceleratorKey::LowerG;
    if (message.value == 'l') return AcceleratorKey::LowerL;
    if (message.value == 's') return AcceleratorKey::LowerS;
    return std::nullopt;
  }
  if (message.value == 2) return AcceleratorKey::F2;
  if (message.value == 5) return AcceleratorKey::F5;
  if (message.value == 6) return AcceleratorKey::F6;
  if (message.value == 10) return AcceleratorKey::F10;
  return std::nullopt;
}
}  // namespace

ScriptedWindowSystem::ScriptedWindowSystem(RecordingGraphics& graphics) : graphics_(graphics) {
  graphics_.windowSurface().setObserver([this](const RecordedCall& call) { windowDrawn(call); });
  for (const MenuPopupDefinition& popup : MENU_POPUPS) {
    for (const MenuItemDefinition& item : popup.items) {
      if (item.kind != MenuItemKind::Separator)
        menuEnabled_[item.commandId] = item.initiallyEnabled;
    }
  }
}

ScriptedWindowSystem::~ScriptedWindowSystem() { graphics_.windowSurface().setObserver({}); }

MainWindow& ScriptedWindowSystem::window() {
  if (window_ == nullptr) throw std::logic_error("scripted window system: no window attached");
  return *window_;
}

void ScriptedWindowSystem::sendCreate() { window().onCreate(); }

void ScriptedWindowSystem::sendSize(int clientWidth, int clientHeight) {
  window().onSize(clientWidth, clientHeight);
}

void ScriptedWindowSystem::sendShowWindow() { window().onShowWindow(); }

void ScriptedWindowSystem::startUp(int clientWidth, int clientHeight) {
  sendCreate();
  sendSize(clientWidth, clientHeight);
  sendShowWindow();
}

void ScriptedWindowSystem::beforePump(long pumpNumber, Action action) {
  pumpActions_.emplace(pumpNumber, std::move(action));
}

std::int64_t ScriptedWindowSystem::tickMilliseconds() {
  clock_ += clockStep_;
  while (!clockActions_.empty() && clockActions_.begin()->first <= clock_) {
    Action action = std::move(clockActions_.begin()->second);
    clockActions_.erase(clockActions_.begin());
    action();
  }
  return clock_;
}

void ScriptedWindowSystem::whenWindowRectangle(const CellRect& rect, Action action) {
  rectangleActions_.emplace_back(rect, std::move(action));
}

bool ScriptedWindowSystem::fireTimer() {
  if (!timerSet_) return false;
  // Like the real timer's message, at most one is waiting at any time.
  const bool waiting = std::any_of(queue_.begin(), queue_.end(), [](const ScriptedMessage& m) {
    return m.kind == ScriptedMessage::Kind::Timer;
  });
  if (!waiting) {
    post({ScriptedMessage::Kind::Timer, FROM_TIMER});
    ++timerMessagesPosted_;
  }
  return true;
}

bool ScriptedWindowSystem::menuItemChecked(int commandId) const {
  const auto item = checked_.find(commandId);
  return item != checked_.end() && item->second;
}

void ScriptedWindowSystem::sleepMicroseconds(std::int64_t microseconds) {
  ++sleepCalls_;
  if (microseconds <= 0) return;
  sleepRequested_ += microseconds;
  std::int64_t lasted = microseconds;
  if (sleepTick_ > 0) lasted = (microseconds + sleepTick_ - 1) / sleepTick_ * sleepTick_;
  slept_ += lasted;
  paceClock_ += lasted;
}

void ScriptedWindowSystem::setCaptionSuffix(const char* utf8Text) {
  caption_ = utf8Text != nullptr ? utf8Text : "";
  captions_.push_back(caption_);
}

bool ScriptedWindowSystem::menuItemEnabled(int commandId) const {
  const auto item = menuEnabled_.find(commandId);
  return item == menuEnabled_.end() || item->second;
}

int ScriptedWindowSystem::windowTextCount(const std::string& text) const {
  return static_cast<int>(std::count(windowTexts_.begin(), windowTexts_.end(), text));
}

bool ScriptedWindowSystem::pumpOnce() {
  ++pumpCount_;
  // Actions for this pump run first; they may post the message this pump takes.
  for (auto due = pumpActions_.begin(); due != pumpActions_.end() && due->first <= pumpCount_;) {
    Action action = std::move(due->second);
    due = pumpActions_.erase(due);
    action();
  }
  if (queue_.empty()) {
    if (++emptyPumpsInARow_ >= MAX_EMPTY_PUMPS_IN_A_ROW) {
      throw ScriptExhausted(
          "pumpOnce keeps finding the queue empty with nothing drawn: a loop "
          "spins instead of waiting for a message");
    }
    return false;
  }
  emptyPumpsInARow_ = 0;
  const ScriptedMessage message = queue_.front();
  queue_.pop_front();
  service(message);
  return true;
}

void ScriptedWindowSystem::waitMessage() {
  if (!queue_.empty()) return;
  if (!waitActions_.empty()) {
    Action action = std::move(waitActions_.front());
    waitActions_.pop_front();
    action();
    if (!queue_.empty()) return;
  }
  if (timerSet_ && timerFiresWhenIdle_) {
    fireTimer();
    return;
  }
  nothingCanArrive("waitMessage");
}

int ScriptedWindowSystem::runMainLoop() {
  for (;;) {
    if (queue_.empty() && !quitCode_ && !idleActions_.empty()) {
      Action action = std::move(idleActions_.front());
      idleActions_.pop_front();
      action();
    }
    if (queue_.empty()) {
      if (quitCode_) return *quitCode_;
      nothingCanArrive("the main loop");
    }
    const ScriptedMessage message = queue_.front();
    queue_.pop_front();
    service(message);
  }
}

void ScriptedWindowSystem::nothingCanArrive(const char* who) const {
  throw ScriptExhausted(std::string(who) +
                        " waits on an empty queue with nothing scheduled: the program would "
                        "wait for ever" +
                        (timerSet_ ? " (the timer is set but does not fire by itself)" : ""));
}

void ScriptedWindowSystem::service(const ScriptedMessage& message) {
  using Kind = ScriptedMessage::Kind;
  switch (message.kind) {
    case Kind::MenuCommand:
      // A grayed item cannot be chosen.
      if (menuItemEnabled(message.value)) {
        deliverCommand(message.value);
      } else {
        refused_.push_back(message.value);
      }
      break;
    case Kind::FunctionKey:
    case Kind::Character:
      translateKey(message);
      break;
    case Kind::Timer:
      window().onTimer();
      break;
    case Kind::Close:
      window().onClose();
      break;
    case Kind::Paint:
      paint();
      break;
    case Kind::Size:
      window().onSize(message.value, message.height);
      break;
    case Kind::ShowWindow:
      window().onShowWindow();
      break;
  }
}

void ScriptedWindowSystem::deliverCommand(int commandId) {
  delivered_.push_back(commandId);
  window().onCommand(commandId);
}

void ScriptedWindowSystem::translateKey(const ScriptedMessage& message) {
  const std::optional<AcceleratorKey> key = acceleratorKeyOf(message);
  const auto entry = std::find_if(ACCELERATORS.begin(), ACCELERATORS.end(),
                                  [&](const AcceleratorEntry& e) { return key == e.key; });
  if (entry == ACCELERATORS.end()) {
    ++ignoredKeys_;  // not in the table: the window's default handling does nothing with it
    return;
  }
  if (menuItemEnabled(entry->commandId)) {
    deliverCommand(entry->commandId);
  } else {
    refused_.push_back(entry->commandId);
  }
}

void ScriptedWindowSystem::paint() {
  DrawingSurface& surface = graphics_.beginPaint();
  window().onPaint(surface);
  graphics_.endPaint();
}

void ScriptedWindowSystem::setTimer(int milliseconds) {
  timerSet_ = true;
  timerMilliseconds_ = milliseconds;
}

bool ScriptedWindowSystem::killTimer() {
  const bool wasSet = timerSet_;
  timerSet_ = false;
  // The real timer's message is made when the queue is read, so none arrives once the timer
  // is gone.
  std::erase_if(queue_, [](const ScriptedMessage& m) {
    return m.kind == ScriptedMessage::Kind::Timer && m.value == FROM_TIMER;
  });
  return wasSet;
}

void ScriptedWindowSystem::setMenuItemEnabled(int commandId, bool enabled) {
  menuEnabled_[commandId] = enabled;
}

void ScriptedWindowSystem::windowDrawn(const RecordedCall& call) {
  emptyPumpsInARow_ = 0;
  for (const auto& watcher : windowWatchers_) watcher(call);
  if (call.op == DrawOp::TextOut) {
    windowTexts_.push_back(call.text);
  } else if (call.op == DrawOp::Rectangle) {
    rectangleDrawn({call.left, call.top, call.right, call.bottom});
  }
}

void ScriptedWindowSystem::rectangleDrawn(const CellRect& rect) {
  // Actions scheduled by these actions wait for the next such rectangle.
  std::vector<Action> due;
  std::erase_if(rectangleActions_, [&](auto& scheduled) {
    if (!(scheduled.first == rect)) return false;
    due.push_back(std::move(scheduled.second));
    return true;
  });
  for (Action& action : due) action();
}

}  // namespace mtd
