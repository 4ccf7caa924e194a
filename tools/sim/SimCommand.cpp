#include "SimCommand.h"

#include <charconv>

#include <vela/Script.h>

namespace vela::simcmd {
namespace {

bool StartsWith(const std::string& text, const char* prefix) { return text.rfind(prefix, 0) == 0; }

// "manual" or "manual:YYYY-MM-DDTHH:MM:SS", checked with the script's own time syntax.
bool IsClockSetting(const std::string& clock) {
  if (clock == "manual") return true;
  if (!StartsWith(clock, "manual:")) return false;
  const vela::script::Script check = vela::script::Parse("clock " + clock.substr(7));
  return check.errors.empty() && check.commands.size() == 1;
}

}  // namespace

std::string Usage() {
  return "usage: vela-sim [--root DIR] [--window|--headless] [--zoom N] [--keys FILE] [--record FILE]\n"
         "                [--script FILE] [--shots DIR] [--shot FILE] [--clock manual[:TIME]] [--echo]\n"
         "                PROGRAM [ARGS...]\n"
         "  PROGRAM        a host path, or a terminal path such as \\Windows\\Launcher.exe under the root\n"
         "  --root DIR     the host folder that stands for the terminal's root (VELA_ROOT)\n"
         "  --window       the screen in a desktop window (default when a display is there and no\n"
         "                 script is given); --headless: no window\n"
         "  --zoom N       the window's scale, 1 to 4 (default 2)\n"
         "  --keys FILE    key bindings of the window\n"
         "  --record FILE  where the window's recording goes\n"
         "  --script FILE  plays the script headless on a manual clock\n"
         "  --shots DIR    where the script's screenshots go (default: beside the script)\n"
         "  --shot FILE    saves the screen as PNG when the program ends\n"
         "  --clock manual[:YYYY-MM-DDTHH:MM:SS]\n"
         "                 a manual clock that starts there (UTC)\n"
         "  --echo         each script command on standard error before it runs\n";
}

std::optional<Request> ParseArguments(const std::vector<std::string>& arguments, std::string* error) {
  Request request;
  size_t i = 0;
  auto fail = [error](const std::string& message) {
    *error = message;
    return std::nullopt;
  };
  struct Valued {
    const char* name;
    std::string Request::*field;
  };
  static const Valued kValued[] = {{"--root", &Request::root},     {"--keys", &Request::keys},
                                   {"--record", &Request::record}, {"--script", &Request::script},
                                   {"--shots", &Request::shots},   {"--shot", &Request::shot},
                                   {"--clock", &Request::clock}};
  for (; i < arguments.size(); ++i) {
    const std::string& option = arguments[i];
    if (option == "--") {
      ++i;
      break;
    }
    if (!StartsWith(option, "-") || option == "-") break;
    if (option == "--window" || option == "--headless") {
      const FrontEnd wanted = option == "--window" ? FrontEnd::Window : FrontEnd::Headless;
      if (request.frontEnd != FrontEnd::Chosen && request.frontEnd != wanted) {
        return fail("--window and --headless exclude each other");
      }
      request.frontEnd = wanted;
      continue;
    }
    if (option == "--echo") {
      request.echo = true;
      continue;
    }
    bool known = false;
    for (const Valued& valued : kValued) {
      if (option != valued.name) continue;
      known = true;
      if (i + 1 >= arguments.size() || arguments[i + 1].empty()) return fail(option + " needs a value");
      request.*valued.field = arguments[++i];
    }
    if (option == "--zoom") {
      known = true;
      if (i + 1 >= arguments.size()) return fail("--zoom needs a value");
      const std::string& value = arguments[++i];
      auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), request.zoom);
      if (ec != std::errc() || end != value.data() + value.size() || request.zoom < 1 || request.zoom > 4) {
        return fail("--zoom: '" + value + "' is not 1, 2, 3 or 4");
      }
    }
    if (!known) return fail("unknown option '" + option + "'");
  }
  if (i >= arguments.size()) return fail("no PROGRAM given");
  request.program = arguments[i];
  request.arguments.assign(arguments.begin() + static_cast<std::ptrdiff_t>(i) + 1, arguments.end());
  if (!request.script.empty() && request.frontEnd == FrontEnd::Window) {
    return fail("--script plays headless; leave out --window");
  }
  if (!request.clock.empty() && !IsClockSetting(request.clock)) {
    return fail("--clock: '" + request.clock + "' is neither 'manual' nor 'manual:YYYY-MM-DDTHH:MM:SS'");
  }
  return request;
}

std::optional<Launch> PlanLaunch(const Request& request, const Host& host, std::string* error) {
  Launch launch;
  auto set = [&launch](const char* name, std::string value) { launch.variables.emplace_back(name, std::move(value)); };
  auto path = [&host](const std::string& given) { return given.empty() ? given : host.absolute(given); };

  const std::string root = path(request.root);
  if (!root.empty()) set("VELA_ROOT", root);
  const bool display = !host.environment("DISPLAY").empty() || !host.environment("WAYLAND_DISPLAY").empty();
  const bool window = request.frontEnd == FrontEnd::Window ||
                      (request.frontEnd == FrontEnd::Chosen && display && request.script.empty());
  set("VELA_FRONTEND", window ? "window" : "headless");
  if (request.zoom != 0) set("VELA_ZOOM", std::to_string(request.zoom));
  if (!request.keys.empty()) set("VELA_KEYS", path(request.keys));
  if (!request.record.empty()) set("VELA_RECORD", path(request.record));
  // A run starts from what this command says, never from what an earlier run left in the shell.
  set("VELA_SCRIPT", path(request.script));
  set("VELA_SHOTS", path(request.shots));
  set("VELA_SCRIPT_ECHO", request.echo ? "1" : "");
  set("VELA_FINAL_SHOT", path(request.shot));
  set("VELA_CLOCK", !request.clock.empty() ? request.clock : !request.script.empty() ? "manual" : "");
  set("VELA_TERMINAL_STATE", "");

  if (!request.script.empty() && !host.readable(path(request.script))) {
    *error = "--script: cannot read '" + request.script + "'";
    return std::nullopt;
  }
  if (StartsWith(request.program, "\\")) {
    launch.program = host.fromTerminal(root, request.program);
    if (launch.program.empty() || !host.runnable(launch.program)) {
      *error = "PROGRAM: no program " + request.program + " under the terminal's root" +
               (root.empty() ? "" : " " + root);
      return std::nullopt;
    }
  } else {
    launch.program = host.absolute(request.program);
    if (!host.runnable(launch.program)) {
      *error = "PROGRAM: '" + request.program + "' is not a program file";
      return std::nullopt;
    }
  }
  launch.arguments.push_back(launch.program);
  launch.arguments.insert(launch.arguments.end(), request.arguments.begin(), request.arguments.end());
  return launch;
}

}  // namespace vela::simcmd
