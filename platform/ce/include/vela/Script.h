// The script player: drives an application headless from a text script of taps, keys, waits and
// screenshots, so a run can be repeated and looked at afterwards.
//
// A script is one command per line; a line starting with '#' is a comment, blank lines are
// ignored, and commands of words and numbers may end in a '#' comment:
//   tap X Y | down X Y | move X Y | up X Y     stylus at screen coordinates
//   tap CONTROL                                the centre of a visible control (see below)
//   key VK | key NAME                          a key press: a number (0x0D or 13), a single letter
//                                              or digit, or ENTER, ESC, TAB, SPACE, BACK, DELETE,
//                                              HOME, END, LEFT, RIGHT, UP, DOWN, F1..F24 ...
//   type TEXT                                  the UTF-8 text after "type " as characters
//   wait MS                                    advances a manual clock by exactly MS ms in steps of
//                                              at most 10 ms, waiting until idle after each;
//                                              otherwise waits in real time
//   idle                                       waits until the UI thread has nothing left to do
//   shot FILE.png [WINDOWTEXT]                 saves the screen, or the top-level window with that
//                                              text; waits until idle first
//   log TEXT                                   writes a line to standard error
//   quit [CODE]                                ends the application's message loop with CODE
//   clock YYYY-MM-DDTHH:MM:SS                  only as the first command: the manual clock starts
//                                              there (UTC)
//   <device action>                            any line of vela/DeviceAction.h: power off,
//                                              battery 20, suspend, wake ...
//   expect text CONTROL "TEXT"                 the control's window text is TEXT
//   expect icon CONTROL ID                     the resource id of the icon last drawn in it
//   expect visible CONTROL | expect hidden CONTROL
// CONTROL is "CAPTION" or #ID (decimal or 0x..): the first visible window of the UI thread with
// that text or control id, top-level windows front to back, each followed by its children in
// order. Quoted texts are UTF-8 with \" and \\ as escapes.
// Playing starts once the UI thread is idle for the first time. The end of the script quits
// with 0, a failing command (after its message) with 1, and a failed expectation with 3.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include <windef.h>
#include <minwinbase.h>

namespace vela::script {

enum class Op {
  Tap, Down, Move, Up, Key, Type, Wait, Idle, Shot, Log, Quit,
  Clock, Device, ExpectText, ExpectIcon, ExpectVisible, ExpectHidden,
};

// A control named in a script: by its window text or by its control id.
struct Control {
  enum class By { None, Caption, Id };
  By by = By::None;
  std::u16string caption;
  int id = 0;
};

struct Command {
  Op op;
  int line = 0;       // 1-based, for messages
  int x = 0, y = 0;   // Tap/Down/Move/Up at a point
  Control control;    // Tap at a control's centre (by != None); the Expect... commands
  int number = 0;     // Key: the virtual key; Wait: milliseconds; Quit: the exit code;
                      // ExpectIcon: the icon's resource id
  std::u16string text;  // Type/Log text, Shot window text, ExpectText's wanted text
  std::string file;     // Shot: the PNG path as written in the script
  std::string words;    // Device: the action as written
  SYSTEMTIME time{};    // Clock: where the manual clock starts
};

struct ParseError {
  int line = 0;
  std::string message;
};

struct Script {
  std::vector<Command> commands;
  std::vector<ParseError> errors;  // every faulty line, not just the first
};

// Parses a whole script held in memory (UTF-8, an optional byte order mark, LF or CRLF).
Script Parse(std::string_view text);
// "line N: message"
std::string FormatError(const ParseError& error);

// Where the player's pictures go and how it reports.
struct PlayerOptions {
  std::string shotFolder;  // relative FILE.png paths are taken from here
  bool echo = false;       // each command to standard error before it runs
  std::string scriptPath;  // named in the messages of failed expectations ("" -> "script")
};

// The exit code of a run that ended on a failed expectation.
inline constexpr int kExpectationFailedExitCode = 3;

// Plays the commands against the windows of UI thread uiThreadId from the calling thread (not
// the UI thread). Returns the exit code the script ended with: that of quit, 0 at the end of the
// script, 1 after a failing command. It posts WM_QUIT to the UI thread in every case.
int Play(const Script& script, DWORD uiThreadId, const PlayerOptions& options);

// For the program entry, on the UI thread before the application starts. When VELA_SCRIPT names a
// script file: VELA_CLOCK=manual (or manual:YYYY-MM-DDTHH:MM:SS, UTC) switches the platform clock
// to manual, and a player thread starts that plays the script against the calling thread's
// windows; pictures go to VELA_SHOTS, or else beside the script; VELA_SCRIPT_ECHO=1 echoes each
// command. Returns false when no script is set; a script that cannot be read or parsed is
// reported on standard error and still starts, quitting at once with exit code 2.
bool StartFromEnvironment();

// VELA_CLOCK's setting: "" leaves the clock as it is; "manual" or "manual:YYYY-MM-DDTHH:MM:SS"
// (UTC) switches it to manual at that time (2026-04-01 00:00 when none is given). False, with
// the clock unchanged, for anything else.
bool ApplyClockSetting(const std::string& setting);

// For the program entry once the message loop has ended: waits for the player thread and returns
// the exit code the script asked for, or appExitCode when no script is playing.
int FinishFromEnvironment(int appExitCode);

}  // namespace vela::script
