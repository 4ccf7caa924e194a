// libFuzzer target of the .reg reader: parse the input; whatever was read, written out again,
// must read back the same with no damage (for UTF-8 input, whose names survive the trip).
#include <vela/RegFile.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

bool SameSections(const vela::regfile::Document& a, const vela::regfile::Document& b) {
  if (a.sections.size() != b.sections.size()) return false;
  for (std::size_t i = 0; i < a.sections.size(); ++i) {
    const auto& x = a.sections[i];
    const auto& y = b.sections[i];
    if (x.path != y.path || x.remove != y.remove || x.values.size() != y.values.size()) return false;
    for (std::size_t v = 0; v < x.values.size(); ++v) {
      const auto& p = x.values[v];
      const auto& q = y.values[v];
      if (p.name != q.name || p.remove != q.remove || p.type != q.type || p.data != q.data) return false;
    }
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const vela::regfile::Document doc = vela::regfile::Parse(input);
  if (size >= 2 && data[0] == 0xFF && data[1] == 0xFE) return 0;
  const vela::regfile::Document again = vela::regfile::Parse(vela::regfile::Format(doc.sections));
  if (!again.header || !again.damage.empty() || again.cutShort || !SameSections(doc, again)) std::abort();
  return 0;
}
