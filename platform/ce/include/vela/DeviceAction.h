// Changes of the simulated terminal in words. Scripts, the control command and the desktop
// window's keys all speak these, so what one of them recorded another can play back.
//
//   power on|off              external power plugged in or pulled out
//   battery PERCENT|none      the battery's level, 0 to 100 (its flag follows: 40 and up high,
//                             10 and up low, below that critical, 0 empty); none: no battery
//   signal DBM|none           the radio's signal strength in dBm (-30 strong ... -90 weak);
//                             none: the adapters report no signal
//   network up|down           the adapters get their addresses back, or lose them
//   ime off|hiragana|katakana|alpha|halfkana|halfalpha
//                             the input method closed, or open in that conversion mode
//   keymode N                 the key input mode (0 digits, 2 hiragana, 3 katakana, 4 capitals,
//                             5 small letters, 10 P ...)
//   suspend | wake            the terminal suspends (a thread of the simulator sleeps in it) or
//                             wakes up again
//   volume in NAME | volume out NAME
//                             a storage volume ("Storage Card") inserted or taken out
//   flip                      the flip key
#pragma once

#include <string>
#include <string_view>

namespace vela::device {

// Checks the words without changing anything: empty when they are an action, otherwise what
// is wrong ("battery: '120' is not 0 to 100").
std::string CheckAction(std::string_view words);

// Carries the action out on this process's terminal: empty on success, otherwise what is wrong
// (nothing changes then). A suspend returns once the terminal counts as suspended.
std::string ApplyAction(std::string_view words);

// True when the first word names an action (for parsers that mix actions with other commands).
bool IsActionWord(std::string_view firstWord);

// The list above, for help texts.
std::string_view ActionHelp();

}  // namespace vela::device
