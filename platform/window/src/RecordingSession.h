// A recording in progress: the recorder's text written to its file as soon as it is final, so
// a session that ends badly still leaves what was done.
#pragma once

#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "Recorder.h"

namespace vela::window {

class RecordingSession {
 public:
  // basePath: the file of the first recording of the session; later ones get "-2", "-3" ...
  RecordingSession(std::string basePath, std::string header) : basePath_(std::move(basePath)), header_(std::move(header)) {}
  ~RecordingSession() { Stop(); }

  bool Active() const { return file_ != nullptr; }
  // Starts at the platform clock's time now; false (reported on standard error) when the file
  // cannot be written.
  bool Start();
  void Add(const RecordedEvent& event);
  // Ends with a wait up to now and quit; nothing when not recording.
  void Stop();
  const std::string& Path() const { return path_; }

 private:
  void Write(const std::string& text);

  std::string basePath_;
  std::string header_;
  std::string path_;
  int uses_ = 0;
  std::FILE* file_ = nullptr;
  std::optional<Recorder> recorder_;
};

}  // namespace vela::window
