// libFuzzer target of the script grammar: parse the input, and describe each error, so quoted
// texts, control names and times of any shape are read without going past the input.
#include <vela/Script.h>

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const vela::script::Script script =
      vela::script::Parse(std::string_view(reinterpret_cast<const char*>(data), size));
  std::size_t total = 0;
  for (const auto& error : script.errors) total += vela::script::FormatError(error).size();
  for (const auto& command : script.commands) total += command.text.size() + command.words.size();
  return total == static_cast<std::size_t>(-1) ? 1 : 0;
}
