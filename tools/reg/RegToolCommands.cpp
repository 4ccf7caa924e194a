#include "RegToolCommands.h"

#include <windows.h>
#include <vela/RegFile.h>
#include <vela/Registry.h>
#include <vela/Utf.h>

#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <optional>

#include "RegToolData.h"

namespace vela::regtool {
namespace {

constexpr const char* kUsage =
    "vela-reg: the terminal's registry (the hives under VELA_ROOT).\n"
    "\n"
    "  vela-reg query KEY [/v NAME | /ve] [/s]\n"
    "  vela-reg add KEY [/v NAME | /ve] [/t TYPE] [/s SEPARATOR] [/d DATA] [/f]\n"
    "  vela-reg delete KEY [/v NAME | /ve | /va] [/f]\n"
    "  vela-reg import FILE.reg\n"
    "  vela-reg export KEY FILE.reg [/y]\n"
    "\n"
    "KEY is ROOT\\SUBKEY, ROOT one of HKCU, HKLM, HKCR, HKU or their long names.\n"
    "TYPE is REG_SZ (default), REG_EXPAND_SZ, REG_MULTI_SZ, REG_DWORD, REG_QWORD, REG_BINARY\n"
    "or REG_NONE. REG_DWORD data is decimal or 0x hex; REG_BINARY data is hex digits, or\n"
    "text:TEXT for TEXT as UTF-16LE with its terminating NUL; REG_MULTI_SZ parts are split at\n"
    "SEPARATOR (default \\0). /f and /y answer yes to every question.\n"
    "--desktop before the command works on the desktop's registry (VELA_DESKTOP_ROOT).\n";

constexpr const char* kNotFound = "ERROR: The system was unable to find the specified registry key or value.\n";

struct Options {
  std::vector<std::string> positional;
  std::optional<std::string> value;  // /v NAME; /ve gives ""
  bool allValues = false;            // /va
  std::optional<std::string> type;
  std::optional<std::string> data;
  std::string separator = "\\0";
  bool recurse = false;
  bool force = false;
};

struct KeyName {
  HKEY root;
  std::u16string rootName;  // long form
  std::u16string path;      // below the root, may be empty
  std::u16string Full() const { return path.empty() ? rootName : rootName + u"\\" + path; }
};

class Command {
 public:
  Command(std::istream& in, std::ostream& out, std::ostream& err) : in_(in), out_(out), err_(err) {}

  int Run(std::vector<std::string> args) {
    if (!args.empty() && args[0] == "--desktop") {
      SelectRegistry(RegistrySide::Desktop);
      args.erase(args.begin());
    }
    if (args.empty()) {
      err_ << kUsage;
      return 1;
    }
    if (args[0] == "/?" || args[0] == "-h" || args[0] == "--help") {
      out_ << kUsage;
      return 0;
    }
    const std::string verb = Lower(args[0]);
    Options options;
    if (!ParseOptions(verb, std::vector<std::string>(args.begin() + 1, args.end()), &options)) return Syntax();
    if (verb == "query") return Query(options);
    if (verb == "add") return Add(options);
    if (verb == "delete") return Delete(options);
    if (verb == "import") return Import(options);
    if (verb == "export") return Export(options);
    err_ << "ERROR: Unknown command \"" << args[0] << "\".\n";
    return Syntax();
  }

 private:
  static std::string Lower(std::string text) {
    for (char& c : text) {
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    }
    return text;
  }

  int Syntax() {
    err_ << "ERROR: Invalid syntax.\nType \"vela-reg /?\" for usage.\n";
    return 1;
  }

  int Failure(const std::string& message) {
    err_ << "ERROR: " << message << "\n";
    return 1;
  }

  int Done() {
    out_ << "The operation completed successfully.\n";
    return 0;
  }

  // /s is the separator of add and the recursion switch of query, as in the platform's tool.
  static bool ParseOptions(const std::string& verb, const std::vector<std::string>& args, Options* options) {
    for (std::size_t i = 0; i < args.size(); ++i) {
      const std::string option = Lower(args[i]);
      const bool hasNext = i + 1 < args.size();
      if (option == "/v" && hasNext) {
        options->value = args[++i];
      } else if (option == "/ve") {
        options->value = std::string();
      } else if (option == "/va") {
        options->allValues = true;
      } else if (option == "/t" && hasNext) {
        options->type = args[++i];
      } else if (option == "/d" && hasNext) {
        options->data = args[++i];
      } else if (option == "/s" && verb == "add" && hasNext) {
        options->separator = args[++i];
      } else if (option == "/s" && verb == "query") {
        options->recurse = true;
      } else if (option == "/f" || option == "/y") {
        options->force = true;
      } else if (!option.empty() && option[0] == '/' && option.size() <= 3) {
        return false;
      } else {
        options->positional.push_back(args[i]);
      }
    }
    return true;
  }

  std::optional<KeyName> ParseKey(const std::string& text) {
    std::u16string key = Utf8ToUtf16(text);
    while (!key.empty() && key.back() == u'\\') key.pop_back();
    const std::size_t slash = key.find(u'\\');
    const std::u16string rootText = key.substr(0, slash);
    const std::optional<HKEY> root = regfile::RootKeyFromName(rootText);
    if (!root) {
      err_ << "ERROR: Invalid key name \"" << text << "\" (it starts with HKCU, HKLM, HKCR or HKU).\n";
      return std::nullopt;
    }
    return KeyName{*root, std::u16string(regfile::RootKeyName(*root)),
                   slash == std::u16string::npos ? std::u16string() : key.substr(slash + 1)};
  }

  bool Confirm(const std::string& question, bool force) {
    if (force) return true;
    out_ << question << " (Yes/No)? " << std::flush;
    std::string answer;
    std::getline(in_, answer);
    answer = Lower(answer);
    return answer == "y" || answer == "yes";
  }

  int Cancelled() {
    out_ << "The operation was cancelled by the user.\n";
    return 1;
  }

  static std::string ValueLabel(const std::u16string& name) {
    return name.empty() ? "(Default)" : Utf16ToUtf8(name);
  }

  static bool ReadValue(HKEY key, const std::u16string& name, DWORD* type, std::vector<BYTE>* data) {
    DWORD size = 0;
    if (RegQueryValueExW(key, name.c_str(), nullptr, type, nullptr, &size) != ERROR_SUCCESS) return false;
    data->resize(size);
    if (RegQueryValueExW(key, name.c_str(), nullptr, type, data->data(), &size) != ERROR_SUCCESS) return false;
    data->resize(size);
    return true;
  }

  // Values in their order, then subkey names.
  static void ReadKey(HKEY key, std::vector<regfile::Value>* values, std::vector<std::u16string>* subkeys) {
    DWORD maxName = 0;
    DWORD maxSubkey = 0;
    RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, &maxSubkey, nullptr, nullptr, &maxName, nullptr,
                     nullptr, nullptr);
    std::u16string name(std::max(maxName, maxSubkey) + 1, u'\0');
    for (DWORD i = 0;; ++i) {
      DWORD count = static_cast<DWORD>(name.size());
      if (RegEnumValueW(key, i, name.data(), &count, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
      regfile::Value value;
      value.name = name.substr(0, count);
      if (ReadValue(key, value.name, &value.type, &value.data)) values->push_back(std::move(value));
    }
    for (DWORD i = 0;; ++i) {
      DWORD count = static_cast<DWORD>(name.size());
      if (RegEnumKeyExW(key, i, name.data(), &count, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
      subkeys->push_back(name.substr(0, count));
    }
  }

  void PrintValue(const regfile::Value& value) {
    out_ << "    " << ValueLabel(value.name) << "    " << TypeName(value.type) << "    "
         << DisplayData(value.type, value.data) << "\n";
  }

  void QueryTree(HKEY key, const std::u16string& full, bool recurse) {
    std::vector<regfile::Value> values;
    std::vector<std::u16string> subkeys;
    ReadKey(key, &values, &subkeys);
    out_ << "\n" << Utf16ToUtf8(full) << "\n";
    for (const regfile::Value& value : values) PrintValue(value);
    for (const std::u16string& subkey : subkeys) {
      if (!recurse) {
        out_ << Utf16ToUtf8(full + u"\\" + subkey) << "\n";
        continue;
      }
      HKEY child = nullptr;
      if (RegOpenKeyExW(key, subkey.c_str(), 0, KEY_READ, &child) == ERROR_SUCCESS) {
        QueryTree(child, full + u"\\" + subkey, true);
        RegCloseKey(child);
      }
    }
  }

  int Query(const Options& options) {
    if (options.positional.size() != 1) return Syntax();
    const std::optional<KeyName> name = ParseKey(options.positional[0]);
    if (!name) return 1;
    HKEY key = nullptr;
    if (RegOpenKeyExW(name->root, name->path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
      err_ << kNotFound;
      return 1;
    }
    int result = 0;
    if (options.value) {
      regfile::Value value;
      value.name = Utf8ToUtf16(*options.value);
      if (ReadValue(key, value.name, &value.type, &value.data)) {
        out_ << "\n" << Utf16ToUtf8(name->Full()) << "\n";
        PrintValue(value);
      } else {
        err_ << kNotFound;
        result = 1;
      }
    } else {
      QueryTree(key, name->Full(), options.recurse);
    }
    RegCloseKey(key);
    return result;
  }

  int Add(const Options& options) {
    if (options.positional.size() != 1) return Syntax();
    const std::optional<KeyName> name = ParseKey(options.positional[0]);
    if (!name) return 1;
    if ((options.type || options.data) && !options.value) return Syntax();
    DWORD type = REG_SZ;
    if (options.type) {
      const std::optional<DWORD> known = TypeFromName(*options.type);
      if (!known) return Failure("Invalid type \"" + *options.type + "\".");
      type = *known;
    }
    std::string error;
    const std::optional<std::vector<BYTE>> data =
        ParseData(type, options.data.value_or(""), options.separator, &error);
    if (!data) return Failure(error + ".");

    HKEY key = nullptr;
    const LONG status =
        RegCreateKeyExW(name->root, name->path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    if (status != ERROR_SUCCESS) return Failure(ErrorText(status));
    int result = 0;
    if (options.value) {
      const std::u16string valueName = Utf8ToUtf16(*options.value);
      DWORD oldType = 0;
      std::vector<BYTE> old;
      if (ReadValue(key, valueName, &oldType, &old) &&
          !Confirm("Value " + ValueLabel(valueName) + " exists, overwrite", options.force)) {
        RegCloseKey(key);
        return Cancelled();
      }
      const LONG set =
          RegSetValueExW(key, valueName.c_str(), 0, type, data->data(), static_cast<DWORD>(data->size()));
      if (set != ERROR_SUCCESS) result = Failure(ErrorText(set));
    }
    RegCloseKey(key);
    return result == 0 ? Done() : result;
  }

  int Delete(const Options& options) {
    if (options.positional.size() != 1) return Syntax();
    const std::optional<KeyName> name = ParseKey(options.positional[0]);
    if (!name) return 1;
    HKEY key = nullptr;
    if (RegOpenKeyExW(name->root, name->path.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) {
      err_ << kNotFound;
      return 1;
    }
    LONG status = ERROR_SUCCESS;
    if (options.value) {
      const std::u16string valueName = Utf8ToUtf16(*options.value);
      if (!Confirm("Delete the registry value " + ValueLabel(valueName), options.force)) {
        RegCloseKey(key);
        return Cancelled();
      }
      status = RegDeleteValueW(key, valueName.c_str());
    } else if (options.allValues) {
      if (!Confirm("Delete all values under the registry key " + Utf16ToUtf8(name->Full()), options.force)) {
        RegCloseKey(key);
        return Cancelled();
      }
      std::vector<regfile::Value> values;
      std::vector<std::u16string> subkeys;
      ReadKey(key, &values, &subkeys);
      for (const regfile::Value& value : values) {
        if (status == ERROR_SUCCESS) status = RegDeleteValueW(key, value.name.c_str());
      }
    } else {
      if (name->path.empty()) {
        RegCloseKey(key);
        return Failure("A root key cannot be deleted.");
      }
      if (!Confirm("Permanently delete the registry key " + Utf16ToUtf8(name->Full()), options.force)) {
        RegCloseKey(key);
        return Cancelled();
      }
      status = RegDeleteKeyW(name->root, name->path.c_str());
    }
    RegCloseKey(key);
    if (status == ERROR_FILE_NOT_FOUND) {
      err_ << kNotFound;
      return 1;
    }
    return status == ERROR_SUCCESS ? Done() : Failure(ErrorText(status));
  }

  int Import(const Options& options) {
    if (options.positional.size() != 1) return Syntax();
    const std::string& file = options.positional[0];
    std::ifstream input(file, std::ios::binary);
    if (!input) return Failure("Cannot open " + file + ".");
    const std::string bytes{std::istreambuf_iterator<char>(input), {}};
    const regfile::Document doc = regfile::Parse(bytes);
    bool failed = false;
    if (!doc.header) {
      err_ << "WARNING: " << file << " does not start with \"Windows Registry Editor Version 5.00\".\n";
    }
    for (const regfile::Damage& damage : doc.damage) {
      err_ << "WARNING: " << file << " line " << damage.line << ": " << damage.reason
           << (damage.text.empty() ? "" : ": " + damage.text) << "\n";
      failed = true;
    }
    for (const regfile::Section& section : doc.sections) {
      if (!ImportSection(file, section)) failed = true;
    }
    if (failed) return Failure("Not every line of " + file + " could be imported; the rest was.");
    return Done();
  }

  bool ImportSection(const std::string& file, const regfile::Section& section) {
    const std::size_t slash = section.path.find(u'\\');
    const std::optional<HKEY> root = regfile::RootKeyFromName(section.path.substr(0, slash));
    const std::u16string path = slash == std::u16string::npos ? std::u16string() : section.path.substr(slash + 1);
    auto warn = [&](const std::string& what, LONG status) {
      err_ << "WARNING: " << file << " line " << section.line << ": " << what << ": " << ErrorText(status) << "\n";
      return false;
    };
    if (!root) return warn(Utf16ToUtf8(section.path), ERROR_BADKEY);
    if (section.remove) {
      const LONG status = path.empty() ? ERROR_ACCESS_DENIED : RegDeleteKeyW(*root, path.c_str());
      return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND || warn(Utf16ToUtf8(section.path), status);
    }
    HKEY key = nullptr;
    const LONG status = RegCreateKeyExW(*root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    if (status != ERROR_SUCCESS) return warn(Utf16ToUtf8(section.path), status);
    bool ok = true;
    for (const regfile::Value& value : section.values) {
      LONG set;
      if (value.remove) {
        set = RegDeleteValueW(key, value.name.c_str());
        if (set == ERROR_FILE_NOT_FOUND) set = ERROR_SUCCESS;
      } else {
        set = RegSetValueExW(key, value.name.c_str(), 0, value.type, value.data.data(),
                             static_cast<DWORD>(value.data.size()));
      }
      if (set != ERROR_SUCCESS) ok = warn(ValueLabel(value.name), set);
    }
    RegCloseKey(key);
    return ok;
  }

  static void ExportTree(HKEY key, const std::u16string& full, std::vector<regfile::Section>* sections) {
    regfile::Section section;
    section.path = full;
    std::vector<std::u16string> subkeys;
    ReadKey(key, &section.values, &subkeys);
    sections->push_back(std::move(section));
    for (const std::u16string& subkey : subkeys) {
      HKEY child = nullptr;
      if (RegOpenKeyExW(key, subkey.c_str(), 0, KEY_READ, &child) == ERROR_SUCCESS) {
        ExportTree(child, full + u"\\" + subkey, sections);
        RegCloseKey(child);
      }
    }
  }

  int Export(const Options& options) {
    if (options.positional.size() != 2) return Syntax();
    const std::optional<KeyName> name = ParseKey(options.positional[0]);
    if (!name) return 1;
    const std::string& file = options.positional[1];
    HKEY key = nullptr;
    if (RegOpenKeyExW(name->root, name->path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
      err_ << kNotFound;
      return 1;
    }
    std::vector<regfile::Section> sections;
    ExportTree(key, name->Full(), &sections);
    RegCloseKey(key);
    if (std::ifstream(file).good() && !Confirm("File " + file + " already exists. Overwrite", options.force)) {
      return Cancelled();
    }
    std::ofstream output(file, std::ios::binary | std::ios::trunc);
    output << regfile::Format(sections);
    output.close();
    if (!output) return Failure("Cannot write " + file + ".");
    return Done();
  }

  static std::string ErrorText(LONG status) {
    static const std::map<LONG, const char*> texts = {
        {ERROR_ACCESS_DENIED, "Access is denied."},
        {ERROR_INVALID_PARAMETER, "The name is not valid for the registry (empty part, line break or too long)."},
        {ERROR_CANTWRITE, "The registry file could not be written."},
        {ERROR_CANTREAD, "The registry file could not be read."},
        {ERROR_BADKEY, "The key does not start with a known root."},
        {ERROR_KEY_DELETED, "The key was deleted meanwhile."},
    };
    const auto it = texts.find(status);
    return it != texts.end() ? it->second : "Error " + std::to_string(status) + ".";
  }

  std::istream& in_;
  std::ostream& out_;
  std::ostream& err_;
};

}  // namespace

int RunCommand(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err) {
  return Command(in, out, err).Run(args);
}

}  // namespace vela::regtool
