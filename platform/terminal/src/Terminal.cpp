// The one device-state object of the process.
#include <vela/Terminal.h>

#include <atomic>
#include <condition_variable>
#include <cstdlib>
#include <mutex>

#include "StartingState.h"

namespace vela::terminal {

std::vector<Adapter> DefaultAdapters() {
  Adapter wlan;
  wlan.name = "WLAN1";
  wlan.description = "Wireless LAN adapter";
  // The terminal's WLAN driver presents an 802.3 medium, so the adapter query reports it as
  // Ethernet (6), the type the kit counts as usable.
  wlan.type = 6;
  wlan.ipAddress = "192.168.10.20";
  wlan.subnetMask = "255.255.255.0";
  wlan.gateway = "192.168.10.1";
  wlan.address = {0x00, 0x1B, 0x7E, 0x10, 0x20, 0x30};
  wlan.signalDbm = -60;
  return {wlan};
}

namespace {

// Without the platform's clock a suspend's automatic wake-up follows the host's steady clock.
class SteadyWakeTimer : public WakeTimer {
 public:
  void Start(std::chrono::milliseconds after) override {
    std::lock_guard lock(mutex_);
    deadline_ = std::chrono::steady_clock::now() + after;
  }
  void Wait() override {
    std::unique_lock lock(mutex_);
    wake_.wait_until(lock, deadline_, [this] { return cancelled_; });
  }
  void Cancel() override {
    std::lock_guard lock(mutex_);
    cancelled_ = true;
    wake_.notify_all();
  }

 private:
  std::mutex mutex_;
  std::condition_variable wake_;
  std::chrono::steady_clock::time_point deadline_;
  bool cancelled_ = false;
};

std::mutex g_hooksMutex;
PlatformHooks& Hooks() {
  static PlatformHooks* hooks = new PlatformHooks;
  return *hooks;
}

PlatformHooks CopyHooks() {
  std::lock_guard lock(g_hooksMutex);
  return Hooks();
}

}  // namespace

void SetPlatformHooks(PlatformHooks hooks) {
  std::lock_guard lock(g_hooksMutex);
  Hooks() = std::move(hooks);
}

struct Terminal::Impl {
  std::mutex mutex;  // everything below except what says otherwise
  State state;
  Records records;
  std::uint64_t ndisGeneration = 0;

  bool suspended = false;
  std::uint64_t wakeGeneration = 0;
  std::condition_variable woken;
  std::shared_ptr<WakeTimer> wakeTimer;

  ListenerId nextListener = 1;
  std::map<ListenerId, std::shared_ptr<Listener>> listeners;
  // Held while listeners run, so Unsubscribe can wait for a call under way.
  std::recursive_mutex dispatchMutex;

  std::mutex loadMutex;
  std::atomic<bool> loaded{false};

  void Notify(const std::vector<Change>& changes) {
    if (changes.empty()) {
      return;
    }
    std::lock_guard dispatch(dispatchMutex);
    std::vector<std::pair<ListenerId, std::shared_ptr<Listener>>> current;
    {
      std::lock_guard lock(mutex);
      current.assign(listeners.begin(), listeners.end());
    }
    for (Change change : changes) {
      for (const auto& [id, listener] : current) {
        {
          std::lock_guard lock(mutex);
          if (!listeners.contains(id)) {
            continue;  // unsubscribed by an earlier listener
          }
        }
        (*listener)(change);
      }
    }
  }

  // Called with mutex held; the caller tells the listeners and cancels the timer after.
  std::shared_ptr<WakeTimer> EndSuspendLocked() {
    suspended = false;
    ++wakeGeneration;
    ++records.wakeUps;
    woken.notify_all();
    return std::move(wakeTimer);
  }
};

Terminal::Terminal(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
Terminal::~Terminal() = default;

Terminal& Get() {
  // Never destroyed: other libraries' static destructors may still ask.
  static Terminal* terminal = new Terminal(std::make_unique<Terminal::Impl>());
  return *terminal;
}

void Terminal::EnsureLoaded() {
  if (impl_->loaded.load(std::memory_order_acquire)) {
    return;
  }
  std::lock_guard load(impl_->loadMutex);
  if (impl_->loaded.load(std::memory_order_relaxed)) {
    return;
  }
  const PlatformHooks hooks = CopyHooks();
  std::vector<std::string> problems;
  // A program started by another one continues that terminal, not the file's.
  if (const char* handed = std::getenv(kStateVariable)) {
    std::lock_guard lock(impl_->mutex);
    problems = ApplyStartingStateText(handed, impl_->state, kStateVariable);
  } else if (hooks.readStartingState) {
    if (std::optional<std::string> text = hooks.readStartingState()) {
      std::lock_guard lock(impl_->mutex);
      problems = ApplyStartingStateText(*text, impl_->state);
    }
  }
  if (hooks.started) {
    State starting;
    {
      std::lock_guard lock(impl_->mutex);
      starting = impl_->state;
    }
    hooks.started(starting);
  }
  impl_->loaded.store(true, std::memory_order_release);
  if (hooks.debug) {
    for (const std::string& problem : problems) {
      hooks.debug(problem);
    }
  }
}

State Terminal::Get() {
  EnsureLoaded();
  std::lock_guard lock(impl_->mutex);
  return impl_->state;
}

void Terminal::Update(const std::function<void(State&)>& edit) {
  EnsureLoaded();
  std::vector<Change> changes;
  {
    std::lock_guard lock(impl_->mutex);
    State next = impl_->state;
    edit(next);
    const State& before = impl_->state;
    const auto changed = [&](auto State::*area, Change change) {
      if (!(before.*area == next.*area)) {
        changes.push_back(change);
      }
    };
    changed(&State::backlight, Change::Backlight);
    changed(&State::power, Change::Power);
    changed(&State::sound, Change::Sound);
    changed(&State::input, Change::Input);
    changed(&State::network, Change::Network);
    changed(&State::identity, Change::Identity);
    changed(&State::screen, Change::Screen);
    changed(&State::suspendWakesAfter, Change::SuspendSetting);
    if (before.network.ndisDriverPresent && !next.network.ndisDriverPresent) {
      ++impl_->ndisGeneration;
    }
    impl_->state = std::move(next);
  }
  impl_->Notify(changes);
}

void Terminal::Suspend() {
  EnsureLoaded();
  std::shared_ptr<WakeTimer> timer;
  bool started = false;
  std::uint64_t generation;
  // Held from the moment the terminal counts as suspended until the suspend is told, so a
  // wake-up from another thread cannot tell its resume before it.
  std::unique_lock announcing(impl_->dispatchMutex);
  {
    std::lock_guard lock(impl_->mutex);
    if (!impl_->suspended) {
      impl_->suspended = true;
      ++impl_->records.suspends;
      started = true;
      if (impl_->state.suspendWakesAfter) {
        const PlatformHooks hooks = CopyHooks();
        timer = hooks.makeWakeTimer ? std::shared_ptr<WakeTimer>(hooks.makeWakeTimer())
                                    : std::make_shared<SteadyWakeTimer>();
        timer->Start(*impl_->state.suspendWakesAfter);
        impl_->wakeTimer = timer;
      }
    }
    generation = impl_->wakeGeneration;
  }
  if (started) {
    impl_->Notify({Change::Suspended});
  }
  announcing.unlock();
  if (timer) {
    timer->Wait();
    WakeUp();
  }
  std::unique_lock lock(impl_->mutex);
  impl_->woken.wait(lock, [&] { return impl_->wakeGeneration != generation; });
}

void Terminal::WakeUp() {
  std::shared_ptr<WakeTimer> timer;
  {
    std::lock_guard lock(impl_->mutex);
    if (!impl_->suspended) {
      return;
    }
    timer = impl_->EndSuspendLocked();
  }
  if (timer) {
    timer->Cancel();
  }
  impl_->Notify({Change::Resumed});
}

bool Terminal::IsSuspended() {
  std::lock_guard lock(impl_->mutex);
  return impl_->suspended;
}

void Terminal::SoftReset() {
  EnsureLoaded();
  {
    std::lock_guard lock(impl_->mutex);
    ++impl_->records.softResets;
  }
  impl_->Notify({Change::SoftReset});
}

void Terminal::RecordShellExecute(ShellExecuteRequest request) {
  std::lock_guard lock(impl_->mutex);
  impl_->records.shellExecutes.push_back(std::move(request));
}

void Terminal::RecordProcessStart(ProcessStart start) {
  std::lock_guard lock(impl_->mutex);
  impl_->records.processStarts.push_back(std::move(start));
}

Records Terminal::GetRecords() {
  std::lock_guard lock(impl_->mutex);
  return impl_->records;
}

std::uint64_t Terminal::NdisDriverGeneration() {
  std::lock_guard lock(impl_->mutex);
  return impl_->ndisGeneration;
}

ListenerId Terminal::Subscribe(Listener listener) {
  std::lock_guard lock(impl_->mutex);
  const ListenerId id = impl_->nextListener++;
  impl_->listeners.emplace(id, std::make_shared<Listener>(std::move(listener)));
  return id;
}

void Terminal::Unsubscribe(ListenerId id) {
  std::lock_guard dispatch(impl_->dispatchMutex);
  std::lock_guard lock(impl_->mutex);
  impl_->listeners.erase(id);
}

std::vector<std::string> Terminal::ApplyStartingState(std::string_view text) {
  EnsureLoaded();
  std::lock_guard lock(impl_->mutex);
  return ApplyStartingStateText(text, impl_->state);
}

void Terminal::ResetForTests() {
  std::shared_ptr<WakeTimer> timer;
  {
    std::lock_guard load(impl_->loadMutex);
    std::lock_guard lock(impl_->mutex);
    impl_->state = State{};
    impl_->records = Records{};
    ++impl_->ndisGeneration;  // handles of before the reset are dead
    if (impl_->suspended) {
      timer = impl_->EndSuspendLocked();  // a thread left suspended must not hang the next test
    }
    impl_->records = Records{};
    impl_->loaded.store(false, std::memory_order_release);
  }
  if (timer) {
    timer->Cancel();
  }
  impl_->Notify({Change::Reset});
}

}  // namespace vela::terminal
