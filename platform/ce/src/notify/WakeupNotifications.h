// At every wake-up of the terminal, the notification database's wake-up registrations run:
// "\\.\Notifications\NamedEvents\<name>" sets the event <name> of this process (an event
// nobody created is no error); any other application string is a program started with the
// registration's arguments.
#pragma once

namespace vela::notify {

// Starts listening to the terminal (the platform's "started" hook).
void WatchWakeups();

}  // namespace vela::notify
