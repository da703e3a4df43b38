#pragma once

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "control/MainWindow.h"
#include "control/WindowSystem.h"
#include "tests/support/RecordingGraphics.h"
#include "ui/Display.h"

namespace mtd {

// A window-system message as the scripted queue holds it.
struct ScriptedMessage {
  enum class Kind {
    MenuCommand,  // an item chosen from the menu; value = command id
    FunctionKey,  // F1..F12 pressed; value = the key's number
    Character,    // a character typed; value = the character
    Timer,        // the timer's message
    Close,        // the window system's close request (close box, Alt+F4)
    Paint,        // a repaint request
    Size,         // a new client size; value = width, height = height
    ShowWindow,   // the window system's own show notification
  };
  Kind kind = Kind::Paint;
  int value = 0;
  int height = 0;

  static ScriptedMessage menu(int commandId) { return {Kind::MenuCommand, commandId}; }
  static ScriptedMessage functionKey(int number) { return {Kind::FunctionKey, number}; }
  static ScriptedMessage character(char c) { return {Kind::Character, static_cast<int>(c)}; }
  static ScriptedMessage timer() { return {Kind::Timer}; }
  static ScriptedMessage close() { return {Kind::Close}; }
  static ScriptedMessage paint() { return {Kind::Paint}; }
  static ScriptedMessage size(int width, int height) { return {Kind::Size, width, height}; }
  static ScriptedMessage showWindow() { return {Kind::ShowWindow}; }
};

// A script asked the window system to wait when nothing could ever arrive: a real program
// would block for ever there.
class ScriptExhausted : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A window system driven by a script instead of a user: a message queue that the script fills,
// messages posted at chosen moments (before a given pump, when a given rectangle is drawn on
// the window, when someone waits on an empty queue), the timer, the menu states with the rule
// that a grayed item's command is delivered neither from the menu nor by its key, and a main
// loop that runs until the quit message. A wait that could never end, or a loop that spins on
// an empty queue, throws instead of hanging the test. Drawing goes to the recording graphics it is
// given, whose window surface it watches.
class ScriptedWindowSystem final : public WindowSystem {
 public:
  using Action = std::function<void()>;

  explicit ScriptedWindowSystem(RecordingGraphics& graphics);
  ~ScriptedWindowSystem() override;

  // The window whose handlers the messages reach.
  void attach(MainWindow& window) { window_ = &window; }

  // Sent messages: the handler runs at once, as SendMessage does.
  void sendCreate();
  void sendSize(int clientWidth, int clientHeight);
  void sendShowWindow();
  // Creation, the first size and the show notification, in that order.
  void startUp(int clientWidth, int clientHeight);

  // Posted messages, serviced in order by pumpOnce and the main loop.
  void post(const ScriptedMessage& message) { queue_.push_back(message); }
  void postMenu(int commandId) { post(ScriptedMessage::menu(commandId)); }
  void postFunctionKey(int number) { post(ScriptedMessage::functionKey(number)); }
  void postCharacter(char c) { post(ScriptedMessage::character(c)); }
  void postClose() { post(ScriptedMessage::close()); }
  void postPaint() { post(ScriptedMessage::paint()); }
  std::size_t queuedMessages() const { return queue_.size(); }

  // Chosen moments. Each action runs once.
  // Before the pumpOnce call with this number (the first call is number 1).
  void beforePump(long pumpNumber, Action action);
  // When the window's surface gets a rectangle with exactly these corners (cells are drawn
  // so), after the back buffer has it.
  void whenWindowRectangle(const CellRect& rect, Action action);
  // When the program waits for a message inside a run (a hold or a timed wait) and the queue
  // is empty: one action per such wait, in order, before the timer may fire.
  void whenWaiting(Action action) { waitActions_.push_back(std::move(action)); }
  void whenWaiting(const ScriptedMessage& message) {
    whenWaiting([this, message] { post(message); });
  }
  // When the main loop finds the queue empty: one action each time, in order.
  void whenMainLoopIdle(Action action) { idleActions_.push_back(std::move(action)); }
  void whenMainLoopIdle(const ScriptedMessage& message) {
    whenMainLoopIdle([this, message] { post(message); });
  }
  // Every drawing call on the window's surface, with the surface's state after it.
  void watchWindow(std::function<void(const RecordedCall&)> watcher) {
    windowWatchers_.push_back(std::move(watcher));
  }

  // The timer: posts its message now if it is set. Whether it also fires by itself when the
  // program waits inside a run and no action of the script comes first (the default).
  bool fireTimer();
  void setTimerFiresWhenIdle(bool fires) { timerFiresWhenIdle_ = fires; }
  bool timerSet() const { return timerSet_; }
  int timerMilliseconds() const { return timerMilliseconds_; }
  int timerMessagesPosted() const { return timerMessagesPosted_; }

  // The clock stands still unless the script moves it: by hand, or by a step that every
  // reading adds. Actions due at a time run when a reading reaches it, in order of time.
  void advanceClock(std::int64_t milliseconds) { clock_ += milliseconds; }
  void setClockStep(std::int64_t milliseconds) { clockStep_ = milliseconds; }
  void atClock(std::int64_t milliseconds, Action action) {
    clockActions_.emplace(milliseconds, std::move(action));
  }
  std::int64_t clock() const { return clock_; }

  // The pace's clock, in microseconds, apart from the one above: only sleeps move it. Each
  // sleep lasts what was asked, rounded up to a whole number of ticks when a tick is set (a
  // Windows timer tick is 15,600 us), or exactly what was asked without one.
  void setSleepTick(std::int64_t microseconds) { sleepTick_ = microseconds; }
  std::int64_t paceClock() const { return paceClock_; }
  std::int64_t sleptMicroseconds() const { return slept_; }
  std::int64_t requestedSleepMicroseconds() const { return sleepRequested_; }
  long sleepCalls() const { return sleepCalls_; }

  // GetMessage loop: services messages until the quit message arrives, returns its code.
  int runMainLoop();

  // What the program did.
  bool menuItemEnabled(int commandId) const;
  bool menuItemChecked(int commandId) const;
  // The caption's suffix now, and every one set, in order.
  const std::string& captionSuffix() const { return caption_; }
  const std::vector<std::string>& captionSuffixes() const { return captions_; }
  int drawMenuBarCalls() const { return drawMenuBarCalls_; }
  long pumpCount() const { return pumpCount_; }
  std::optional<int> quitCode() const { return quitCode_; }
  const std::vector<int>& deliveredCommands() const { return delivered_; }
  const std::vector<int>& refusedCommands() const { return refused_; }  // grayed items
  int ignoredKeys() const { return ignoredKeys_; }
  // Texts drawn on the window's surface, in order.
  const std::vector<std::string>& windowTexts() const { return windowTexts_; }
  int windowTextCount(const std::string& text) const;
  RecordingGraphics& graphics() { return graphics_; }

  // WindowSystem
  bool pumpOnce() override;
  void waitMessage() override;
  void setTimer(int milliseconds) override;
  bool killTimer() override;
  void setMenuItemEnabled(int commandId, bool enabled) override;
  void drawMenuBar() override { ++drawMenuBarCalls_; }
  void postQuit(int exitCode) override { quitCode_ = exitCode; }
  std::int64_t tickMilliseconds() override;
  std::int64_t monotonicMicroseconds() override { return paceClock_; }
  void sleepMicroseconds(std::int64_t microseconds) override;
  void setMenuItemChecked(int commandId, bool checked) override { checked_[commandId] = checked; }
  void setCaptionSuffix(const char* utf8Text) override;

  // Graphics: the recording graphics'.
  ScreenSize screenSize() override { return graphics_.screenSize(); }
  DrawingSurface& createBackBuffer(int width, int height) override {
    return graphics_.createBackBuffer(width, height);
  }
  void deleteBackBuffer() override { graphics_.deleteBackBuffer(); }
  GdiObject createSolidBrush(Rgb colour) override { return graphics_.createSolidBrush(colour); }
  GdiObject createPen(Rgb colour) override { return graphics_.createPen(colour); }
  GdiObject createFont(const FontSpec& font) override { return graphics_.createFont(font); }
  void deleteObject(GdiObject object) override { graphics_.deleteObject(object); }
  DrawingSurface& getWindowSurface() override { return graphics_.getWindowSurface(); }
  void releaseWindowSurface(DrawingSurface& surface) override {
    graphics_.releaseWindowSurface(surface);
  }

 private:
  MainWindow& window();
  void service(const ScriptedMessage& message);
  void deliverCommand(int commandId);
  void translateKey(const ScriptedMessage& message);
  void paint();
  [[noreturn]] void nothingCanArrive(const char* who) const;
  void windowDrawn(const RecordedCall& call);
  void rectangleDrawn(const CellRect& rect);

  RecordingGraphics& graphics_;
  MainWindow* window_ = nullptr;
  std::deque<ScriptedMessage> queue_;
  std::multimap<long, Action> pumpActions_;
  std::multimap<std::int64_t, Action> clockActions_;
  std::int64_t clock_ = 0;
  std::int64_t clockStep_ = 0;
  std::vector<std::pair<CellRect, Action>> rectangleActions_;
  std::deque<Action> waitActions_;
  std::deque<Action> idleActions_;
  std::vector<std::function<void(const RecordedCall&)>> windowWatchers_;
  std::map<int, bool> menuEnabled_;
  std::map<int, bool> checked_;
  std::string caption_;
  std::vector<std::string> captions_;
  std::int64_t paceClock_ = 0;
  std::int64_t sleepTick_ = 0;
  std::int64_t slept_ = 0;
  std::int64_t sleepRequested_ = 0;
  long sleepCalls_ = 0;
  std::vector<int> delivered_;
  std::vector<int> refused_;
  std::vector<std::string> windowTexts_;
  long pumpCount_ = 0;
  long emptyPumpsInARow_ = 0;  // with nothing drawn between them
  int drawMenuBarCalls_ = 0;
  int ignoredKeys_ = 0;
  bool timerSet_ = false;
  bool timerFiresWhenIdle_ = true;
  int timerMilliseconds_ = 0;
  int timerMessagesPosted_ = 0;
  std::optional<int> quitCode_;
};

}  // namespace mtd
