#include "KeyNames.h"

#include <windows.h>

#include <cctype>
#include <charconv>
#include <string>

namespace vela::script {
namespace {

struct NamedKey {
  const char* name;
  int vk;
};

constexpr NamedKey kKeys[] = {
    {"ENTER", VK_RETURN},   {"RETURN", VK_RETURN},  {"ESC", VK_ESCAPE},    {"ESCAPE", VK_ESCAPE},
    {"TAB", VK_TAB},        {"SPACE", VK_SPACE},    {"BACK", VK_BACK},     {"BACKSPACE", VK_BACK},
    {"DELETE", VK_DELETE},  {"DEL", VK_DELETE},     {"INSERT", VK_INSERT}, {"HOME", VK_HOME},
    {"END", VK_END},        {"PRIOR", VK_PRIOR},    {"PAGEUP", VK_PRIOR},  {"NEXT", VK_NEXT},
    {"PAGEDOWN", VK_NEXT},  {"LEFT", VK_LEFT},      {"RIGHT", VK_RIGHT},   {"UP", VK_UP},
    {"DOWN", VK_DOWN},      {"SHIFT", VK_SHIFT},    {"CONTROL", VK_CONTROL}, {"CTRL", VK_CONTROL},
    {"MENU", VK_MENU},      {"ALT", VK_MENU},
};

std::string Upper(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

std::optional<int> Number(std::string_view text) {
  int base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    text.remove_prefix(2);
    base = 16;
  }
  int value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
  if (ec != std::errc() || end != text.data() + text.size() || value < 1 || value > 254) return std::nullopt;
  return value;
}

}  // namespace

std::optional<int> VirtualKeyFromName(std::string_view name) {
  if (name.empty()) return std::nullopt;
  if (std::isdigit(static_cast<unsigned char>(name[0])) && name.size() > 1) return Number(name);
  const std::string upper = Upper(name);
  if (upper.size() == 1 && std::isalnum(static_cast<unsigned char>(upper[0]))) return upper[0];  // VK_A == 'A'
  for (const NamedKey& key : kKeys) {
    if (upper == key.name) return key.vk;
  }
  if (upper.size() >= 2 && upper[0] == 'F') {
    int n = 0;
    auto [end, ec] = std::from_chars(upper.data() + 1, upper.data() + upper.size(), n);
    if (ec == std::errc() && end == upper.data() + upper.size() && n >= 1 && n <= 24) return VK_F1 + n - 1;
  }
  return std::nullopt;
}

}  // namespace vela::script
