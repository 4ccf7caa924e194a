#include "HostAdapters.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <linux/if_packet.h>
#include <net/if.h>
#include <netinet/in.h>
#include <sys/stat.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <sstream>

namespace vela::terminal {
namespace {

std::string Ipv4Text(const sockaddr* address) {
  if (!address || address->sa_family != AF_INET) {
    return "0.0.0.0";
  }
  char text[INET_ADDRSTRLEN] = {};
  inet_ntop(AF_INET, &reinterpret_cast<const sockaddr_in*>(address)->sin_addr, text, sizeof text);
  return text;
}

// Signal levels in dBm from /proc/net/wireless ("wlan0: 0000   70.  -40.  -256 ...").
std::map<std::string, std::int32_t> WirelessLevels() {
  std::map<std::string, std::int32_t> levels;
  std::ifstream file("/proc/net/wireless");
  std::string line;
  while (std::getline(file, line)) {
    const size_t colon = line.find(':');
    if (colon == std::string::npos) {
      continue;
    }
    std::istringstream fields(line.substr(colon + 1));
    std::string status;
    double quality = 0;
    double level = 0;
    if (fields >> status >> quality) {
      fields.ignore(1);  // the '.' after the quality
      if (fields >> level) {
        std::string name = line.substr(0, colon);
        name.erase(0, name.find_first_not_of(' '));
        levels[name] = static_cast<std::int32_t>(level);
      }
    }
  }
  return levels;
}

bool IsWireless(const std::string& name) {
  struct stat st;
  return stat(("/sys/class/net/" + name + "/wireless").c_str(), &st) == 0;
}

}  // namespace

std::vector<Adapter> HostAdapters() {
  ifaddrs* list = nullptr;
  if (getifaddrs(&list) != 0) {
    return {};
  }
  std::map<std::string, std::vector<std::uint8_t>> hardware;
  for (const ifaddrs* entry = list; entry; entry = entry->ifa_next) {
    if (entry->ifa_addr && entry->ifa_addr->sa_family == AF_PACKET) {
      const auto* link = reinterpret_cast<const sockaddr_ll*>(entry->ifa_addr);
      hardware[entry->ifa_name].assign(link->sll_addr, link->sll_addr + std::min<int>(link->sll_halen, 8));
    }
  }
  const std::map<std::string, std::int32_t> levels = WirelessLevels();
  std::vector<Adapter> adapters;
  for (const ifaddrs* entry = list; entry; entry = entry->ifa_next) {
    if (!entry->ifa_addr || entry->ifa_addr->sa_family != AF_INET) {
      continue;
    }
    Adapter adapter;
    adapter.name = entry->ifa_name;
    adapter.description = entry->ifa_name;
    adapter.ipAddress = Ipv4Text(entry->ifa_addr);
    adapter.subnetMask = Ipv4Text(entry->ifa_netmask);
    adapter.dhcp = false;
    adapter.address = hardware[entry->ifa_name];
    if (entry->ifa_flags & IFF_LOOPBACK) {
      adapter.type = 24;
    } else if (IsWireless(adapter.name) || levels.contains(adapter.name)) {
      adapter.type = 6;  // as the terminal's own WLAN driver reports itself
      const auto level = levels.find(adapter.name);
      adapter.signalDbm = level != levels.end() ? level->second : -60;
    } else {
      adapter.type = 6;
    }
    adapters.push_back(std::move(adapter));
  }
  freeifaddrs(list);
  return adapters;
}

}  // namespace vela::terminal
