// The help over the screen: the key bindings, drawn with the platform's own fonts (Japanese
// and the terminal's bitmap fonts work), then laid over the dimmed screen.
#pragma once

#include <vela/Screen.h>

#include <string>
#include <vector>

#include "KeyBindings.h"

namespace vela::window {

// What a command does, in a few words.
std::string DescribeCommand(const WindowCommand& command);

// The lines the help shows for these bindings.
std::vector<std::string> HelpLines(const KeyBindings& bindings);

// The lines as light text on black (0), at the window's size, in as many columns as it takes.
vela::screen::Image RenderHelp(const std::vector<std::string>& lines, int width, int height, int zoom);

// Text pixels of the help over the screen dimmed to an eighth; both width x height.
void LayOver(const vela::screen::Image& help, std::uint32_t* picture, int stride);

}  // namespace vela::window
