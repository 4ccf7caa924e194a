// What the script player needs from the platform, so its sequencing can be tested on its own
// and the real input and screen functions stay in one place.
#pragma once

#include <chrono>
#include <string>
#include <vector>

#include <vela/Script.h>

namespace vela::script {

class Driver {
 public:
  virtual ~Driver() = default;

  // Each returns false (with a reason in *why) when the platform refused.
  virtual bool Stylus(Op op, int x, int y, std::string* why) = 0;  // Tap, Down, Move or Up
  virtual bool Key(int virtualKey, std::string* why) = 0;
  virtual bool Characters(const std::u16string& text, std::string* why) = 0;
  // True once the UI thread has nothing left to do; false after timeout.
  virtual bool WaitIdle(std::chrono::milliseconds timeout) = 0;
  // Saves the screen, or the top-level window with windowText when it is not empty.
  virtual bool Shot(const std::string& path, const std::u16string& windowText, std::string* why) = 0;
  virtual void Quit(int exitCode) = 0;

  // What an expectation looks at in a control.
  struct ControlFacts {
    std::u16string text;
    int icon = 0;  // the resource id of the icon last drawn in it
    bool visible = false;
  };
  // A tap at the centre of the first visible control that matches.
  virtual bool TapControl(const Control& control, std::string* why);
  // The first matching control among the visible ones, or with anyVisibility among all of the
  // UI thread's windows (visible ones first); false (with why) when there is none.
  virtual bool InspectControl(const Control& control, bool anyVisibility, ControlFacts* facts, std::string* why);
  // A vela/DeviceAction.h action on this process's terminal: "" or what is wrong.
  virtual std::string DeviceAction(const std::string& words);
  // The process ids of programs this process started since the last call.
  virtual std::vector<int> NewPrograms();
  // Host time; true once every one of them has ended.
  virtual bool WaitForPrograms(const std::vector<int>& processIds, std::chrono::milliseconds timeout);
  // Ends the ones that still run and returns their ids.
  virtual std::vector<int> EndPrograms(const std::vector<int>& processIds);
};

// How long the player waits (host time) for programs a command started to end by themselves,
// so that their log lines come before the ones of the next command.
inline constexpr std::chrono::milliseconds kProgramTimeout{5000};

// How long `idle` and the waits before shots may take before the script fails: an application
// that never settles is a fault to report, not to wait for.
inline constexpr std::chrono::milliseconds kIdleTimeout{30000};

// Plays the script through driver, after waiting for the application to settle first (its
// windows are up then). Returns the script's exit code; Quit is always called once, unless
// StopPlaying ended the run first.
int PlayWith(const Script& script, Driver& driver, const PlayerOptions& options);

// Ends a running PlayWith at its next step or wait (the application went away on its own).
// Returns true when a run was stopped this way before it was over.
bool StopPlaying();
// For a driver's long waits: true once StopPlaying has ended the current run.
bool PlayingStopped();

}  // namespace vela::script
