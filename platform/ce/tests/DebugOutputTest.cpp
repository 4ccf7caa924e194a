#include <winbase.h>

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "ScopedTerminalRoot.h"
#include "debug/DebugChannel.h"

namespace {

using vela::testing::ScopedEnv;

// Each test chooses its channel afresh; the process's own choice is restored afterwards.
class DebugOutputTest : public ::testing::Test {
 protected:
  DebugOutputTest() : folder_(vela::testing::MakeTempFolder()) {
    vela::debug::ResetDebugChannelForTests();
  }
  ~DebugOutputTest() override {
    vela::debug::ResetDebugChannelForTests();
    std::filesystem::remove_all(folder_);
  }
  std::string Path(const char* name) const { return folder_ + "/" + name; }
  static std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  std::string folder_;
};

TEST_F(DebugOutputTest, FileChannelAppendsUtf8) {
  const std::string log = Path("debug.log");
  { std::ofstream(log) << "before\n"; }
  ScopedEnv env("VELA_DEBUG", log);
  OutputDebugStringW(u"VELASYS.DLL Initializing!\n");
  OutputDebugStringW(u"日本語 ÿ\n");
  OutputDebugStringW(u"");
  OutputDebugStringW(nullptr);
  EXPECT_EQ(Read(log), "before\nVELASYS.DLL Initializing!\n日本語 ÿ\n");
}

// The first file does not exist beforehand: it is created.
TEST_F(DebugOutputTest, VariableIsReadOnce) {
  const std::string first = Path("first.log");
  ScopedEnv env("VELA_DEBUG", first);
  OutputDebugStringW(u"1");
  {
    ScopedEnv changed("VELA_DEBUG", Path("second.log"));
    OutputDebugStringW(u"2");
  }
  EXPECT_EQ(Read(first), "12");
  EXPECT_FALSE(std::filesystem::exists(Path("second.log")));
}

TEST_F(DebugOutputTest, OffEmptyAndUnsetDiscard) {
  for (std::optional<std::string> setting : {std::optional<std::string>("off"),
                                              std::optional<std::string>(""),
                                              std::optional<std::string>()}) {
    vela::debug::ResetDebugChannelForTests();
    ScopedEnv env("VELA_DEBUG", setting);
    ::testing::internal::CaptureStderr();
    OutputDebugStringW(u"discarded\n");
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
  }
}

TEST_F(DebugOutputTest, StderrChannel) {
  ScopedEnv env("VELA_DEBUG", "stderr");
  ::testing::internal::CaptureStderr();
  OutputDebugStringW(u"to stderr: 表\n");
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "to stderr: 表\n");
}

TEST_F(DebugOutputTest, UnwritableFileDiscardsQuietly) {
  ScopedEnv env("VELA_DEBUG", Path("no/such/folder/x.log"));
  OutputDebugStringW(u"lost");
  EXPECT_FALSE(std::filesystem::exists(Path("no")));
}

TEST_F(DebugOutputTest, ConcurrentStringsNeverInterleave) {
  const std::string log = Path("threads.log");
  ScopedEnv env("VELA_DEBUG", log);
  constexpr int kThreads = 8;
  constexpr int kLines = 100;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([t] {
      // Long enough that a split write would show.
      const std::u16string line = std::u16string(2000, static_cast<char16_t>(u'A' + t)) + u"\n";
      for (int i = 0; i < kLines; ++i) {
        OutputDebugStringW(line.c_str());
      }
    });
  }
  for (std::thread& th : threads) {
    th.join();
  }
  std::ifstream in(log);
  int count = 0;
  for (std::string line; std::getline(in, line); ++count) {
    ASSERT_EQ(line.size(), 2000u);
    ASSERT_EQ(line.find_first_not_of(line[0]), std::string::npos) << "line " << count;
  }
  EXPECT_EQ(count, kThreads * kLines);
}

}  // namespace
