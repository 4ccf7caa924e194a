#include "FrontEnd.h"

#include <windows.h>
#include <vela/Clock.h>
#include <vela/DeviceAction.h>
#include <vela/Input.h>
#include <vela/SimControl.h>
#include <vela/Terminal.h>

#include <SDL.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "ClockDriver.h"
#include "HelpOverlay.h"
#include "Presenter.h"
#include "RecordingSession.h"
#include "Scaler.h"
#include "SwitchWords.h"

namespace vela::window {
namespace {

// One slice of waiting for the UI thread; the window stays alive between slices.
constexpr std::chrono::milliseconds kIdleSlice{20};

std::chrono::steady_clock::time_point Now() { return std::chrono::steady_clock::now(); }

}  // namespace

struct FrontEnd::Request {
  // Observed: an action another shell had this process carry out; only recorded.
  enum class Kind { Down, Move, Up, Key, Action, Switch, Shot, Record, Quit, Observed };
  Request() = default;
  explicit Request(Kind k, int atX = 0, int atY = 0) : kind(k), x(atX), y(atY) {}
  Kind kind = Kind::Down;
  int x = 0, y = 0;
  int virtualKey = 0;
  std::string words;
  window::Switch what = window::Switch::Power;
};

FrontEnd::FrontEnd() = default;

FrontEnd::~FrontEnd() { Stop(); }

std::string FrontEnd::Start(const WindowSettings& settings, DWORD uiThread) {
  if (running_) return "the desktop window is open already";
  settings_ = settings;
  uiThread_ = uiThread;
  stopping_ = false;
  quitSent_ = false;
  helpShown_ = false;
  pressed_ = false;
  requests_.clear();
  shots_ = ShotNames(settings.shotFolder);
  {
    std::lock_guard guard(settleLock_);
    rounds_ = 0;
    loopEnded_ = false;
  }
  std::promise<std::string> started;
  std::future<std::string> result = started.get_future();
  thread_ = std::thread(&FrontEnd::Run, this, &started);
  std::string error = result.get();
  if (!error.empty()) {
    thread_.join();
    return error;
  }
  running_ = true;
  return {};
}

void FrontEnd::Stop() {
  if (!running_) return;
  stopping_ = true;
  thread_.join();
  running_ = false;
}

bool FrontEnd::WaitUntilSettled(std::chrono::milliseconds timeout) {
  std::unique_lock guard(settleLock_);
  const std::uint64_t target = rounds_ + 2;
  settled_.wait_for(guard, timeout, [&] { return rounds_ >= target || loopEnded_; });
  return rounds_ >= target;
}

vela::screen::Image FrontEnd::Shown() const { return presenter_ ? presenter_->Shown() : vela::screen::Image{}; }

void FrontEnd::Run(std::promise<std::string>* started) {
  std::string error = Open();
  if (!error.empty()) {
    Close();
    started->set_value(error);
    return;
  }
  started->set_value({});
  Loop();
  Close();
}

std::string FrontEnd::Open() {
  // The application's own signal handling stays as it is.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    const std::string why = SDL_GetError();
    SDL_Quit();  // also frees this thread's error text
    return "the desktop window needs a display (" + why + "); run headless instead";
  }
  sdlUp_ = true;
  // Keys are the terminal's; the host's input method must not take them for text.
  SDL_StopTextInput();
  // Key names are known once SDL's video part is up.
  bindings_ = KeyBindings::Defaults();
  if (!settings_.keysFile.empty()) {
    std::ifstream file(settings_.keysFile, std::ios::binary);
    if (!file) return "VELA_KEYS: cannot read '" + settings_.keysFile + "'";
    std::stringstream text;
    text << file.rdbuf();
    const std::vector<std::string> errors = bindings_.Apply(text.str(), settings_.keysFile);
    if (!errors.empty()) {
      std::string joined;
      for (const std::string& line : errors) joined += (joined.empty() ? "" : "\n") + line;
      return joined;
    }
  }
  presenter_ = std::make_unique<Presenter>();
  if (std::string why = presenter_->Open(settings_.programName, settings_.zoom); !why.empty()) return why;
  ClockDriver::TakeOverPlatformClock();
  frameListener_ = vela::screen::AddFrameListener([this](const RECT&) { dirty_ = true; });
  vela::sim::SetActionObserver([this](std::string_view words) {
    std::lock_guard guard(observedLock_);
    observed_.emplace_back(words);
  });
  terminalListener_ = vela::terminal::Get().Subscribe([this](vela::terminal::Change change) {
    using vela::terminal::Change;
    if (change == Change::Suspended || change == Change::Resumed || change == Change::Reset) dirty_ = true;
  });
  recording_ = std::make_unique<RecordingSession>(
      settings_.recordPath, "Recorded in the simulator's desktop window: " + settings_.programName + ", zoom " +
                                std::to_string(settings_.zoom) + ".\nReplay headless: vela-sim --script " +
                                "THIS-FILE " + settings_.programName);
  UpdateTitle();
  dirty_ = true;
  return {};
}

void FrontEnd::Close() {
  vela::sim::SetActionObserver({});
  if (recording_) recording_->Stop();
  recording_.reset();
  if (frameListener_ != 0) vela::screen::RemoveFrameListener(frameListener_);
  frameListener_ = 0;
  if (terminalListener_ != 0) vela::terminal::Get().Unsubscribe(terminalListener_);
  terminalListener_ = 0;
  // The picture stays readable for tests; only the window goes.
  if (presenter_) presenter_->CloseWindow();
  if (sdlUp_) SDL_Quit();
  sdlUp_ = false;
  std::lock_guard guard(settleLock_);
  loopEnded_ = true;
  settled_.notify_all();
}

void FrontEnd::Loop() {
  // The application settles first, so all it does at start-up happens at the start time, as it
  // does when a recording is played.
  if (!AwaitIdle()) return;
  if (settings_.recordAtStart) {
    recording_->Start();
    UpdateTitle();
  }
  ClockDriver clock;
  clock.Begin(Now());
  while (!stopping_) {
    if (dirty_.exchange(false)) {
      presenter_->Present(vela::terminal::Get().IsSuspended(), helpShown_ ? help_.get() : nullptr);
    }
    MarkSettled();
    SDL_Event event;
    const auto wait = clock.UntilNextStep(Now());
    if (SDL_WaitEventTimeout(&event, static_cast<int>(std::max<std::int64_t>(wait.count(), 1))) == 1) {
      Collect(&event);
    } else {
      Collect(nullptr);
    }
    // What the person did goes in now, at this step's time, in order.
    bool carried = false;
    while (!requests_.empty() && !stopping_) {
      const Request request = std::move(requests_.front());
      requests_.pop_front();
      if (!quitSent_) Carry(request);
      carried = true;
    }
    if (carried && !AwaitIdle()) break;
    for (int due = clock.StepsDue(Now()); due > 0 && !stopping_; --due) {
      clock.Step();
      if (!AwaitIdle()) break;
    }
  }
}

bool FrontEnd::AwaitIdle() {
  while (!stopping_) {
    if (vela::input::WaitUntilIdle(uiThread_, kIdleSlice)) return true;
    // Still there for the person: a close or a key is taken (and queued) meanwhile.
    Collect(nullptr);
  }
  return false;
}

void FrontEnd::MarkSettled() {
  std::lock_guard guard(settleLock_);
  ++rounds_;
  settled_.notify_all();
}

void FrontEnd::Collect(const SDL_Event* first) {
  {
    // Carried out already on the listener's thread; they join the recording in their order.
    std::lock_guard guard(observedLock_);
    for (std::string& words : observed_) {
      Request request(Request::Kind::Observed);
      request.words = std::move(words);
      requests_.push_back(std::move(request));
    }
    observed_.clear();
  }
  if (first) Handle(*first);
  SDL_Event event;
  while (SDL_PollEvent(&event) == 1) Handle(event);
}

void FrontEnd::Handle(const SDL_Event& event) {
  const int zoom = settings_.zoom;
  const int width = vela::screen::Width(), height = vela::screen::Height();
  switch (event.type) {
    case SDL_QUIT:
      requests_.push_back(Request(Request::Kind::Quit));
      return;
    case SDL_WINDOWEVENT:
      if (event.window.event == SDL_WINDOWEVENT_CLOSE) {
        requests_.push_back(Request(Request::Kind::Quit));
      } else if (event.window.event == SDL_WINDOWEVENT_FOCUS_LOST && pressed_) {
        // The up would go to another window: the application gets it here instead.
        pressed_ = false;
        requests_.push_back(Request(Request::Kind::Up, lastX_, lastY_));
      } else if (event.window.event == SDL_WINDOWEVENT_EXPOSED || event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
        dirty_ = true;
      }
      return;
    case SDL_MOUSEBUTTONDOWN: {
      if (event.button.button != SDL_BUTTON_LEFT) return;
      if (helpShown_) {
        helpShown_ = false;
        dirty_ = true;
        return;
      }
      const auto point = ScreenPointAt(event.button.x, event.button.y, zoom, width, height);
      if (!point || pressed_) return;
      pressed_ = true;
      lastX_ = point->x;
      lastY_ = point->y;
      requests_.push_back(Request(Request::Kind::Down, point->x, point->y));
      return;
    }
    case SDL_MOUSEMOTION: {
      if (!pressed_) return;
      const ScreenPoint point = ClampedScreenPointAt(event.motion.x, event.motion.y, zoom, width, height);
      if (point.x == lastX_ && point.y == lastY_) return;
      lastX_ = point.x;
      lastY_ = point.y;
      requests_.push_back(Request(Request::Kind::Move, point.x, point.y));
      return;
    }
    case SDL_MOUSEBUTTONUP: {
      if (event.button.button != SDL_BUTTON_LEFT || !pressed_) return;
      const ScreenPoint point = ClampedScreenPointAt(event.button.x, event.button.y, zoom, width, height);
      pressed_ = false;
      if (point.x != lastX_ || point.y != lastY_) requests_.push_back(Request(Request::Kind::Move, point.x, point.y));
      requests_.push_back(Request(Request::Kind::Up, point.x, point.y));
      return;
    }
    case SDL_KEYDOWN:
      HandleKey(event);
      return;
    default:
      return;
  }
}

void FrontEnd::HandleKey(const SDL_Event& event) {
  const SDL_Keysym& key = event.key.keysym;
  if (helpShown_) {
    if (event.key.repeat == 0) {
      helpShown_ = false;
      dirty_ = true;
    }
    return;
  }
  const KeyChord chord{key.sym, (key.mod & KMOD_CTRL) != 0, (key.mod & KMOD_SHIFT) != 0};
  const std::optional<WindowCommand> command = bindings_.Lookup(chord);
  if (!command) return;
  using Kind = WindowCommand::Kind;
  // A held key repeats on the terminal too; a held action key does not toggle back and forth.
  if (event.key.repeat != 0 && command->kind != Kind::TerminalKey) return;
  Request request;
  switch (command->kind) {
    case Kind::TerminalKey:
      request.kind = Request::Kind::Key;
      request.virtualKey = command->virtualKey;
      break;
    case Kind::Flip:
      request.kind = Request::Kind::Action;
      request.words = "flip";
      break;
    case Kind::Action:
      request.kind = Request::Kind::Action;
      request.words = command->words;
      break;
    case Kind::Switch:
      request.kind = Request::Kind::Switch;
      request.what = command->what;
      break;
    case Kind::Shot:
      request.kind = Request::Kind::Shot;
      break;
    case Kind::Record:
      request.kind = Request::Kind::Record;
      break;
    case Kind::Quit:
      request.kind = Request::Kind::Quit;
      break;
    case Kind::Help:
      if (!help_ || help_->width != vela::screen::Width() * settings_.zoom) {
        help_ = std::make_unique<vela::screen::Image>(RenderHelp(HelpLines(bindings_), vela::screen::Width() * settings_.zoom,
                                                                 vela::screen::Height() * settings_.zoom, settings_.zoom));
      }
      helpShown_ = true;
      dirty_ = true;
      return;
    case Kind::Unbound:
      return;
  }
  requests_.push_back(std::move(request));
}

std::string FrontEnd::Apply(const std::string& words) {
  // The flip key is a key of this program's screen; everything else is the one terminal's.
  if (words == "flip") return vela::device::ApplyAction(words);
  return vela::sim::ApplyEverywhere(words);
}

void FrontEnd::Carry(const Request& request) {
  RecordedEvent recorded;
  recorded.tick = vela::clock::Tick();
  recorded.x = request.x;
  recorded.y = request.y;
  using Kind = Request::Kind;
  switch (request.kind) {
    case Kind::Down:
    case Kind::Move:
    case Kind::Up:
      if (request.kind == Kind::Down) {
        vela::input::StylusDown(request.x, request.y);
        recorded.kind = RecordedEvent::Kind::Down;
      } else if (request.kind == Kind::Move) {
        vela::input::StylusMove(request.x, request.y);
        recorded.kind = RecordedEvent::Kind::Move;
      } else {
        vela::input::StylusUp(request.x, request.y);
        recorded.kind = RecordedEvent::Kind::Up;
      }
      break;
    case Kind::Key:
      vela::input::KeyPress(static_cast<UINT>(request.virtualKey));
      recorded.kind = RecordedEvent::Kind::Key;
      recorded.virtualKey = request.virtualKey;
      break;
    case Kind::Action:
    case Kind::Switch: {
      const std::string words =
          request.kind == Kind::Action
              ? request.words
              : SwitchWords(request.what, vela::terminal::Get().Get(), vela::terminal::Get().IsSuspended());
      if (const std::string why = Apply(words); !why.empty()) {
        std::fprintf(stderr, "%s\n", why.c_str());
        return;
      }
      std::fprintf(stderr, "terminal: %s\n", words.c_str());
      recorded.kind = RecordedEvent::Kind::Action;
      recorded.text = words;
      dirty_ = true;  // a suspend darkens the window
      break;
    }
    case Kind::Shot: {
      // As a script's shot: the picture once the application has drawn what it was given.
      if (!AwaitIdle()) return;
      const ShotNames::Next next = shots_.Take();
      if (!vela::screen::SaveScreenPng(next.path)) {
        std::fprintf(stderr, "screenshot: cannot write '%s'\n", next.path.c_str());
        return;
      }
      std::printf("%s\n", next.path.c_str());
      std::fflush(stdout);
      recorded.kind = RecordedEvent::Kind::Shot;
      recorded.text = next.name;
      break;
    }
    case Kind::Observed:
      std::fprintf(stderr, "terminal (from another shell): %s\n", request.words.c_str());
      recorded.kind = RecordedEvent::Kind::Action;
      recorded.text = request.words;
      dirty_ = true;
      break;
    case Kind::Record:
      if (recording_->Active()) {
        recording_->Stop();
      } else {
        recording_->Start();
      }
      UpdateTitle();
      return;
    case Kind::Quit:
      recording_->Stop();
      quitSent_ = true;
      PostThreadMessageW(uiThread_, WM_QUIT, 0, 0);
      return;
  }
  recording_->Add(recorded);
}

void FrontEnd::UpdateTitle() {
  std::string title = settings_.programName + " - zoom " + std::to_string(settings_.zoom) + "x";
  if (recording_ && recording_->Active()) title += " - recording";
  presenter_->SetTitle(title);
}

}  // namespace vela::window
