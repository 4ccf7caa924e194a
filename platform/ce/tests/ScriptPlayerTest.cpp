// The player's sequencing against a recording driver: order, waits on the manual clock, shots,
// failures and early ends.
#include <vela/Clock.h>
#include <vela/Script.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <future>
#include <map>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "TerminalTempDir.h"
#include "script/ScriptDriver.h"

namespace {

using namespace std::chrono_literals;
using vela::script::Op;

class RecordingDriver : public vela::script::Driver {
 public:
  std::vector<std::string> calls;
  std::string refuse;  // a call that starts with this fails
  bool idle = true;
  int quitCode = -1;

  bool Stylus(Op op, int x, int y, std::string* why) override {
    const char* names[] = {"tap", "down", "move", "up"};
    return Record(std::string(names[static_cast<int>(op)]) + " " + std::to_string(x) + "," + std::to_string(y), why);
  }
  bool Key(int vk, std::string* why) override { return Record("key " + std::to_string(vk), why); }
  bool Characters(const std::u16string& text, std::string* why) override {
    return Record("chars " + std::to_string(text.size()), why);
  }
  // A run of idle waits is kept as its last one, with the clock's tick then.
  bool WaitIdle(std::chrono::milliseconds) override {
    ++idleWaits;
    if (!calls.empty() && calls.back().rfind("idle@", 0) == 0) calls.pop_back();
    calls.push_back("idle@" + std::to_string(vela::clock::Tick() - start));
    return idle;
  }
  int idleWaits = 0;
  bool Shot(const std::string& path, const std::u16string& text, std::string* why) override {
    return Record("shot " + path + (text.empty() ? "" : " +window"), why);
  }
  void Quit(int exitCode) override { quitCode = exitCode; }

  // Programs "started" by a call, and the ones among them that never end by themselves.
  std::map<std::string, std::vector<int>> starts;
  std::set<int> endless;
  std::vector<int> NewPrograms() override {
    std::vector<int> ids;
    ids.swap(started_);
    return ids;
  }
  bool WaitForPrograms(const std::vector<int>& ids, std::chrono::milliseconds) override {
    calls.push_back("await" + Ids(ids));
    return std::none_of(ids.begin(), ids.end(), [this](int id) { return endless.count(id) != 0; });
  }
  std::vector<int> EndPrograms(const std::vector<int>& ids) override {
    calls.push_back("end" + Ids(ids));
    std::vector<int> ended;
    for (int id : ids) {
      if (endless.count(id)) ended.push_back(id);
    }
    return ended;
  }

  std::uint64_t start = vela::clock::Tick();

 private:
  static std::string Ids(const std::vector<int>& ids) {
    std::string text;
    for (int id : ids) text += " " + std::to_string(id);
    return text;
  }
  std::vector<int> started_;

  bool Record(const std::string& call, std::string* why) {
    calls.push_back(call);
    if (auto it = starts.find(call); it != starts.end()) started_.insert(started_.end(), it->second.begin(), it->second.end());
    if (!refuse.empty() && call.rfind(refuse, 0) == 0) {
      *why = "no window there";
      return false;
    }
    return true;
  }
};

class ScriptPlayerTest : public ::testing::Test {
 protected:
  ScriptPlayerTest() { vela::clock::UseManual(SYSTEMTIME{2026, 4, 0, 1, 0, 0, 0, 0}); }
  ~ScriptPlayerTest() override { vela::clock::UseHost(); }

  int Play(const char* text, RecordingDriver& driver, const std::string& folder = "shots") {
    const auto script = vela::script::Parse(text);
    EXPECT_TRUE(script.errors.empty());
    driver.start = vela::clock::Tick();
    vela::script::PlayerOptions options;
    options.shotFolder = folder;
    return vela::script::PlayWith(script, driver, options);
  }
};

TEST_F(ScriptPlayerTest, CommandsRunInOrderAndWaitsMoveTheManualClock) {
  RecordingDriver driver;
  EXPECT_EQ(Play("down 1 2\nmove 3 4\nup 3 4\nwait 1505\nkey ENTER\ntype ab\nidle\nwait 0\n", driver), 0);
  const std::vector<std::string> expected = {"idle@0", "down 1,2", "move 3,4", "up 3,4",
                                             "idle@1505", "key 13", "chars 2", "idle@1505"};
  EXPECT_EQ(driver.calls, expected);
  // The start, 151 steps of the wait, idle, and wait 0 still lets the application catch up.
  EXPECT_EQ(driver.idleWaits, 1 + 151 + 1 + 1);
  EXPECT_EQ(driver.quitCode, 0);
}

TEST_F(ScriptPlayerTest, ShotsWaitForIdleAndLandInTheFolder) {
  TerminalTempDir temp;
  const std::string folder = temp.HostPath("pictures/run").string();
  RecordingDriver driver;
  EXPECT_EQ(Play("shot a.png\nshot sub/b.png 設定\nshot /abs/c.png\n", driver, folder), 0);
  const std::vector<std::string> expected = {"idle@0", "shot " + folder + "/a.png",
                                             "idle@0", "shot " + folder + "/sub/b.png +window",
                                             "idle@0", "shot /abs/c.png"};
  EXPECT_EQ(driver.calls, expected);
  EXPECT_TRUE(std::filesystem::is_directory(folder + "/sub"));
}

TEST_F(ScriptPlayerTest, QuitEndsTheScriptWithItsCode) {
  RecordingDriver driver;
  EXPECT_EQ(Play("tap 1 1\nquit 7\ntap 2 2\n", driver), 7);
  EXPECT_EQ(driver.calls.size(), 2u);
  EXPECT_EQ(driver.quitCode, 7);
}

TEST_F(ScriptPlayerTest, ARefusedCommandOrAnApplicationThatNeverSettlesFailsTheRun) {
  RecordingDriver refusing;
  refusing.refuse = "tap 5,5";
  EXPECT_EQ(Play("tap 1 1\ntap 5 5\ntap 9 9\n", refusing), 1);
  EXPECT_EQ(refusing.calls.size(), 3u);
  EXPECT_EQ(refusing.quitCode, 1);

  RecordingDriver busy;
  busy.idle = false;
  EXPECT_EQ(Play("tap 1 1\n", busy), 1);
  EXPECT_EQ(busy.calls.size(), 1u);  // the wait for the start, then nothing
  EXPECT_EQ(busy.quitCode, 1);
}

TEST_F(ScriptPlayerTest, ProgramsTheRunStartsAreAwaitedAndThoseLeftAreEndedAtItsEnd) {
  RecordingDriver driver;
  driver.starts["tap 1,1"] = {41};
  driver.starts["tap 2,2"] = {42, 43};
  driver.endless = {43};
  testing::internal::CaptureStderr();
  EXPECT_EQ(Play("tap 1 1\nwait 20\ntap 2 2\n", driver), 0);
  const std::string errors = testing::internal::GetCapturedStderr();
  // The first idle wait after the tap finds the program and waits for it before time moves on.
  const std::vector<std::string> expected = {"idle@0",  "tap 1,1",     "idle@10", "await 41", "idle@20",
                                             "tap 2,2", "await 42 43", "end 41 42 43"};
  EXPECT_EQ(driver.calls, expected);
  EXPECT_EQ(errors,
            "script: programs started by the application still run after 5 s; going on\n"
            "script: ended program 43, which still ran at the end of the script\n");
  EXPECT_EQ(driver.quitCode, 0);
}

TEST_F(ScriptPlayerTest, StopEndsARealTimeWaitWithoutQuitting) {
  vela::clock::UseHost();
  RecordingDriver driver;
  auto run = std::async(std::launch::async, [&] { return Play("wait 60000\ntap 1 1\n", driver); });
  // The stop may come before the run has begun; keep asking until it lands.
  while (!vela::script::StopPlaying()) std::this_thread::yield();
  ASSERT_EQ(run.wait_for(10s), std::future_status::ready);
  run.get();
  EXPECT_EQ(std::count(driver.calls.begin(), driver.calls.end(), "tap 1,1"), 0);
  EXPECT_EQ(driver.quitCode, -1);
}

}  // namespace
