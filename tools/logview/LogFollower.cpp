#include "LogFollower.h"

#include <fstream>

namespace vela::logview {

std::vector<std::string> LogFollower::ReadNewLines() {
    std::vector<std::string> lines;
    std::ifstream file(path_, std::ios::binary);
    exists_ = static_cast<bool>(file);
    if (!file) return lines;
    file.seekg(0, std::ios::end);
    const auto size = static_cast<std::uint64_t>(file.tellg());
    if (size < offset_) {  // truncated or replaced: the old position means nothing now
        offset_ = 0;
        pending_.clear();
    }
    if (size == offset_) return lines;
    file.seekg(static_cast<std::streamoff>(offset_));
    std::string chunk(static_cast<size_t>(size - offset_), '\0');
    file.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
    chunk.resize(static_cast<size_t>(file.gcount()));
    offset_ += chunk.size();

    pending_ += chunk;
    size_t start = 0;
    for (size_t end; (end = pending_.find('\n', start)) != std::string::npos; start = end + 1) {
        size_t stop = end;
        if (stop > start && pending_[stop - 1] == '\r') --stop;
        lines.emplace_back(pending_, start, stop - start);
    }
    pending_.erase(0, start);
    return lines;
}

}  // namespace vela::logview
