// CEAppMgr.exe: a stand-in for the desktop's application manager. It takes the quoted path of
// an application-manager description file, as the kit's desktop launcher hands it over, and says
// what it would install on the connected terminal: the components and their cabinet files.
#include <processthreadsapi.h>
#include <windows.h>
#include <vela/DesktopSide.h>
#include <vela/TerminalFileSystem.h>
#include <vela/Utf.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Section = std::map<std::string, std::string>;

std::string Trim(const std::string& text) {
  const size_t begin = text.find_first_not_of(" \t\r");
  const size_t end = text.find_last_not_of(" \t\r");
  return begin == std::string::npos ? std::string() : text.substr(begin, end - begin + 1);
}

std::string Upper(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return text;
}

// Sections and keys of an INI file in the ANSI code page, names in upper case; the values are
// turned into UTF-8 for printing.
std::map<std::string, Section> ReadIni(std::istream& in) {
  std::map<std::string, Section> sections;
  std::string line;
  std::string current;
  while (std::getline(in, line)) {
    line = Trim(line);
    if (line.empty() || line[0] == ';') continue;
    if (line.front() == '[' && line.back() == ']') {
      current = Upper(Trim(line.substr(1, line.size() - 2)));
      continue;
    }
    const size_t equals = line.find('=');
    if (equals == std::string::npos) continue;
    const std::string value = Trim(line.substr(equals + 1));
    const int units = MultiByteToWideChar(CP_ACP, 0, value.c_str(), static_cast<int>(value.size()), nullptr, 0);
    std::u16string wide(static_cast<size_t>(std::max(units, 0)), u'\0');
    if (units > 0) MultiByteToWideChar(CP_ACP, 0, value.c_str(), static_cast<int>(value.size()), wide.data(), units);
    sections[current][Upper(Trim(line.substr(0, equals)))] = vela::Utf16ToUtf8(wide);
  }
  return sections;
}

std::vector<std::string> SplitList(const std::string& list) {
  std::vector<std::string> items;
  std::stringstream in(list);
  std::string item;
  while (std::getline(in, item, ',')) {
    if (!Trim(item).empty()) items.push_back(Trim(item));
  }
  return items;
}

}  // namespace

int main() {
  vela::EnterDesktopSide();
  std::u16string path = GetCommandLineW();
  // The launcher quotes the path; the application manager takes what lies between the quotes.
  if (path.size() >= 2 && path.front() == u'"' && path.back() == u'"') path = path.substr(1, path.size() - 2);
  const std::string shown = vela::Utf16ToUtf8(path);
  OutputDebugStringW((u"CEAppMgr.exe: " + path + u"\n").c_str());
  if (path.empty()) {
    std::puts("CEAppMgr.exe: no description file given");
    return 1;
  }
  std::printf("CEAppMgr.exe: would install from %s\n", shown.c_str());
  std::ifstream file(vela::HostPathFromTerminal(path), std::ios::binary);
  if (!file) {
    std::puts("CEAppMgr.exe: the description file cannot be read");
    return 1;
  }
  const std::map<std::string, Section> ini = ReadIni(file);
  const auto manager = ini.find("CEAPPMANAGER");
  if (manager == ini.end() || !manager->second.count("COMPONENT")) {
    std::puts("CEAppMgr.exe: the description file names no component");
    return 1;
  }
  for (const std::string& component : SplitList(manager->second.at("COMPONENT"))) {
    const auto section = ini.find(Upper(component));
    const std::string description = section != ini.end() && section->second.count("DESCRIPTION") ? section->second.at("DESCRIPTION") : "";
    std::printf("component %s%s%s\n", component.c_str(), description.empty() ? "" : ": ", description.c_str());
    if (section == ini.end() || !section->second.count("CABFILES")) continue;
    for (const std::string& cab : SplitList(section->second.at("CABFILES"))) std::printf("  cabinet %s\n", cab.c_str());
  }
  return 0;
}
