// Names of kernel objects within the process (events, message queues). Names are compared
// without regard to case; a name lives while an object of it lives.
#pragma once

#include <wintypes.h>

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <utility>

#include "crt/CaseMap.h"

namespace vela::kernel {

inline std::u16string FoldName(LPCWSTR name) {
  std::u16string folded;
  for (; *name != 0; ++name) {
    folded.push_back(casemap::Upper(*name));
  }
  return folded;
}

template <class T>
class NameSpace {
 public:
  // The live object of the name, or a new one from make(); second is true when it existed.
  template <class Make>
  std::pair<std::shared_ptr<T>, bool> FindOrAdd(LPCWSTR name, Make make) {
    const std::u16string key = FoldName(name);
    std::lock_guard lock(mutex_);
    if (auto found = Live(key)) {
      return {found, true};
    }
    std::shared_ptr<T> made = make();
    if (made) {
      objects_[key] = made;
    }
    return {made, false};
  }

  std::shared_ptr<T> Find(LPCWSTR name) {
    std::lock_guard lock(mutex_);
    return Live(FoldName(name));
  }

 private:
  std::shared_ptr<T> Live(const std::u16string& key) {
    auto it = objects_.find(key);
    if (it == objects_.end()) {
      return nullptr;
    }
    if (auto object = it->second.lock()) {
      return object;
    }
    objects_.erase(it);
    return nullptr;
  }

  std::mutex mutex_;
  std::map<std::u16string, std::weak_ptr<T>> objects_;
};

}  // namespace vela::kernel
