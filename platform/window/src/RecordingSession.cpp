#include "RecordingSession.h"

#include <vela/Clock.h>

#include <cerrno>
#include <cstring>

#include "ShotNames.h"

namespace vela::window {

bool RecordingSession::Start() {
  if (file_) return true;
  path_ = NumberedPath(basePath_, ++uses_);
  file_ = std::fopen(path_.c_str(), "wb");
  if (!file_) {
    std::fprintf(stderr, "recording: cannot write '%s': %s\n", path_.c_str(), std::strerror(errno));
    return false;
  }
  recorder_.emplace(header_, vela::clock::UtcNow(), vela::clock::Tick());
  Write(recorder_->Begin());
  std::fprintf(stderr, "recording to %s\n", path_.c_str());
  return true;
}

void RecordingSession::Add(const RecordedEvent& event) {
  if (file_) Write(recorder_->Add(event));
}

void RecordingSession::Stop() {
  if (!file_) return;
  Write(recorder_->Finish(vela::clock::Tick()));
  const bool failed = std::ferror(file_) != 0;
  if (std::fclose(file_) != 0 || failed) {
    std::fprintf(stderr, "recording: writing '%s' failed; the recording is incomplete\n", path_.c_str());
  } else {
    std::fprintf(stderr, "recording saved: %s\n", path_.c_str());
  }
  file_ = nullptr;
  recorder_.reset();
}

void RecordingSession::Write(const std::string& text) {
  if (text.empty()) return;
  std::fwrite(text.data(), 1, text.size(), file_);
  std::fflush(file_);
}

}  // namespace vela::window
