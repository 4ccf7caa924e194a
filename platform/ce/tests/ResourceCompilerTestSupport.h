// Runs vela-rc on scripts written into a temporary folder and reads back what it compiled, as
// the platform parses a module's resources.
#pragma once

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "ScopedTerminalRoot.h"
#include "resources/ResourceDirectory.h"

namespace vela::testing {

using vela::resources::NumberId;
using vela::resources::ResourceDirectory;
using vela::resources::ResourceEntry;

class ResourceCompiler : public ::testing::Test {
 protected:
  ~ResourceCompiler() override {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }

  void Write(const std::string& name, const std::string& bytes) {
    std::filesystem::create_directories(std::filesystem::path(folder_ + "/" + name).parent_path());
    std::ofstream out(folder_ + "/" + name, std::ios::binary);
    out << bytes;
  }

  // Runs the compiler; returns its exit status, with what it printed in output_.
  int Compile(const std::string& script, const std::string& options = "") {
    const std::string command = std::string(VELA_RC_EXECUTABLE) + " " + options + " --blob " +
                                folder_ + "/out.bin -o " + folder_ + "/out.cpp " + folder_ +
                                "/" + script + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) {
      ADD_FAILURE() << "cannot run " << command;
      return -1;
    }
    output_.clear();
    char chunk[256];
    while (size_t n = fread(chunk, 1, sizeof chunk, pipe)) {
      output_.append(chunk, n);
    }
    const int status = pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  // The compiled blob, parsed as the platform parses a module's resources.
  ResourceDirectory Compiled() {
    std::ifstream in(folder_ + "/out.bin", std::ios::binary);
    blob_.assign(std::istreambuf_iterator<char>(in), {});
    std::optional<ResourceDirectory> directory =
        ResourceDirectory::Parse(reinterpret_cast<const uint8_t*>(blob_.data()), blob_.size());
    EXPECT_TRUE(directory.has_value());
    static const uint8_t kEmpty[16] = {'V', 'R', 'S', 'C', 1, 0, 0, 0, 16, 0, 0, 0, 0, 0, 0, 0};
    return directory ? *directory : *ResourceDirectory::Parse(kEmpty, sizeof kEmpty);
  }

  // String id of the compiled tables in language, or "(none)".
  static std::u16string StringOf(const ResourceDirectory& directory, uint16_t id, uint16_t language) {
    for (const ResourceEntry& entry : directory.entries()) {
      if (!vela::resources::TypeMatches(entry, NumberId(6)) ||
          !vela::resources::NameMatches(entry, NumberId(static_cast<uint16_t>(id / 16 + 1))) ||
          entry.language != language) {
        continue;
      }
      size_t at = 0;
      for (int i = 0; i < 16 && at + 2 <= entry.size; ++i) {
        const size_t length = entry.data[at] | (entry.data[at + 1] << 8);
        at += 2;
        if (i == id % 16) {
          return length ? std::u16string(reinterpret_cast<const char16_t*>(entry.data + at), length)
                        : u"(none)";
        }
        at += length * 2;
      }
    }
    return u"(none)";
  }

  // The bytes of resource type/name/language, or an empty vector when there is none.
  std::vector<uint8_t> BytesOf(uint16_t type, uint16_t name, uint16_t language) {
    ResourceDirectory directory = Compiled();
    for (const ResourceEntry& entry : directory.entries()) {
      if (vela::resources::TypeMatches(entry, NumberId(type)) && vela::resources::NameMatches(entry, NumberId(name)) &&
          entry.language == language) {
        return std::vector<uint8_t>(entry.data, entry.data + entry.size);
      }
    }
    return {};
  }

  std::string folder_ = MakeTempFolder();
  std::string output_;
  std::string blob_;
};

}  // namespace vela::testing
