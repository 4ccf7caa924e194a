#include "devicechange/StorageVolumes.h"

#include <dbt.h>
#include <windows.h>
#include <vela/TerminalFileSystem.h>
#include <vela/Utf.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <string>
#include <vector>

#include "debug/DebugChannel.h"

namespace vela::devicechange {
namespace {

namespace fs = std::filesystem;

std::u16string ParkedFolder(const std::u16string& name) { return u"\\Windows\\Removed Volumes\\" + name; }

void Report(const std::string& what, const std::error_code& error) {
  debug::WriteDebugChannel("devicechange: " + what + ": " + error.message() + "\n");
}

// A volume's name is one folder below the root; anything else is not made into a folder.
bool UsableName(const std::u16string& name) {
  return !name.empty() && name != u"." && name != u".." && name.find_first_of(u"\\/:") == std::u16string::npos;
}

void Insert(const std::u16string& name) {
  std::error_code error;
  const fs::path folder = HostPathFromTerminal(u"\\" + name);
  if (fs::is_directory(folder, error)) {
    return;
  }
  const fs::path parked = HostPathFromTerminal(ParkedFolder(name));
  if (fs::is_directory(parked, error)) {
    fs::rename(parked, folder, error);
    if (!error) {
      return;
    }
    Report("cannot bring back " + parked.string(), error);
  }
  fs::create_directories(folder, error);
  if (error) {
    Report("cannot create " + folder.string(), error);
  }
}

void Remove(const std::u16string& name) {
  std::error_code error;
  const fs::path folder = HostPathFromTerminal(u"\\" + name);
  if (!fs::is_directory(folder, error)) {
    return;
  }
  const fs::path parked = HostPathFromTerminal(ParkedFolder(name));
  fs::create_directories(parked.parent_path(), error);
  // A folder parked earlier and never taken back is older than the one leaving now.
  fs::remove_all(parked, error);
  fs::rename(folder, parked, error);
  if (error) {
    Report("cannot set aside " + folder.string(), error);
  }
}

void Broadcast(WPARAM event, const std::u16string& name) {
  // The header, then the name with its NUL, in storage aligned for the header.
  const std::size_t size = offsetof(DEV_BROADCAST_PORT, dbcp_name) + (name.size() + 1) * sizeof(WCHAR);
  std::vector<DWORD> storage((size + sizeof(DWORD) - 1) / sizeof(DWORD), 0);
  auto* port = reinterpret_cast<DEV_BROADCAST_PORT*>(storage.data());
  port->dbcp_size = static_cast<DWORD>(size);
  port->dbcp_devicetype = DBT_DEVTYP_PORT;
  std::memcpy(reinterpret_cast<unsigned char*>(storage.data()) + offsetof(DEV_BROADCAST_PORT, dbcp_name),
              name.c_str(), (name.size() + 1) * sizeof(WCHAR));
  const DWORD error = GetLastError();
  SendMessageW(HWND_BROADCAST, WM_DEVICECHANGE, event, reinterpret_cast<LPARAM>(port));
  SetLastError(error);
}

std::vector<std::u16string> Names(const terminal::State& state) {
  std::vector<std::u16string> names;
  for (const std::string& volume : state.identity.volumes) {
    std::u16string name = Utf8ToUtf16(volume);
    if (UsableName(name) && std::find(names.begin(), names.end(), name) == names.end()) {
      names.push_back(std::move(name));
    }
  }
  return names;
}

class Volumes {
 public:
  void Start(const terminal::State& state) {
    std::lock_guard lock(mutex_);
    present_ = Names(state);
    for (const std::u16string& name : present_) {
      Insert(name);
    }
  }

  void OnChange(terminal::Change change) {
    if (change != terminal::Change::Identity && change != terminal::Change::Reset) {
      return;
    }
    const std::vector<std::u16string> now = Names(terminal::Get().Get());
    std::vector<std::u16string> arrived, removed;
    {
      std::lock_guard lock(mutex_);
      if (change == terminal::Change::Reset) {
        present_ = now;  // a reset of the model leaves the files alone and tells nobody
        return;
      }
      for (const std::u16string& name : present_) {
        if (std::find(now.begin(), now.end(), name) == now.end()) {
          removed.push_back(name);
          Remove(name);
        }
      }
      for (const std::u16string& name : now) {
        if (std::find(present_.begin(), present_.end(), name) == present_.end()) {
          arrived.push_back(name);
          Insert(name);
        }
      }
      present_ = now;
    }
    // The files are in place before the windows hear of it.
    for (const std::u16string& name : removed) {
      Broadcast(DBT_DEVICEREMOVECOMPLETE, name);
    }
    for (const std::u16string& name : arrived) {
      Broadcast(DBT_DEVICEARRIVAL, name);
    }
  }

 private:
  std::mutex mutex_;
  std::vector<std::u16string> present_;
};

Volumes& TheVolumes() {
  // Never destroyed: the terminal's listener may still call it during the process's exit.
  static Volumes* volumes = [] {
    auto* made = new Volumes;
    terminal::Get().Subscribe([made](terminal::Change change) { made->OnChange(change); });
    return made;
  }();
  return *volumes;
}

}  // namespace

void VolumesAtStart(const terminal::State& state) { TheVolumes().Start(state); }

}  // namespace vela::devicechange
