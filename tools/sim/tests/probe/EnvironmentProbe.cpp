// Stands in for an application: prints its arguments and the simulator's variables it got.
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) std::printf("arg=%s\n", argv[i]);
  static const char* const kNames[] = {"VELA_ROOT",        "VELA_FRONTEND", "VELA_ZOOM",       "VELA_KEYS",
                                       "VELA_RECORD",      "VELA_SCRIPT",   "VELA_SHOTS",      "VELA_SCRIPT_ECHO",
                                       "VELA_FINAL_SHOT",  "VELA_CLOCK",    "VELA_TERMINAL_STATE"};
  for (const char* name : kNames) {
    if (const char* value = std::getenv(name)) std::printf("%s=%s\n", name, value);
  }
  return 7;
}
