// vela-cabinstall: the simulated terminal's cabinet installer, enough to install the kit. It
// unpacks the plain files of a host folder into the installation directory on the terminal and
// calls the setup library's entry points in the installer's order: Install_Init, the files,
// Install_Exit; or, with --uninstall, Uninstall_Init and Uninstall_Exit.
#include <ce_setup.h>
#include <windows.h>
#include <vela/TerminalFileSystem.h>
#include <vela/Utf.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

struct Options {
  std::u16string installDir = u"\\Program Files\\Vela";
  std::u16string setupLibrary = u"VelaSetup.dll";
  std::string sourceFolder;
  bool uninstall = false;
};

void Usage() {
  std::fputs(
      "usage: vela-cabinstall [--dir TERMINAL-DIR] [--setup LIBRARY] HOST-FOLDER\n"
      "       vela-cabinstall --uninstall [--dir TERMINAL-DIR] [--setup LIBRARY]\n"
      "Installs the plain files of HOST-FOLDER into TERMINAL-DIR (default \\Program Files\\Vela) of the\n"
      "terminal named by VELA_ROOT and runs the setup library (default VelaSetup.dll), which moves them\n"
      "into \\Windows.\n",
      stderr);
}

bool Parse(int argc, char** argv, Options* options) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if ((arg == "--dir" || arg == "--setup") && i + 1 < argc) {
      (arg == "--dir" ? options->installDir : options->setupLibrary) = vela::Utf8ToUtf16(argv[++i]);
    } else if (arg == "--uninstall") {
      options->uninstall = true;
    } else if (!arg.empty() && arg[0] != '-' && options->sourceFolder.empty()) {
      options->sourceFolder = arg;
    } else {
      return false;
    }
  }
  return options->uninstall || !options->sourceFolder.empty();
}

template <typename Function>
Function* Entry(HMODULE module, LPCWSTR name) {
  FARPROC proc = GetProcAddressW(module, name);
  if (!proc) std::fprintf(stderr, "vela-cabinstall: the setup library has no %s\n", vela::Utf16ToUtf8(name).c_str());
  return reinterpret_cast<Function*>(reinterpret_cast<void (*)()>(proc));
}

// Creates every missing folder of a terminal path.
void CreateFolders(const std::u16string& dir) {
  for (size_t at = dir.find(u'\\', 1); ; at = dir.find(u'\\', at + 1)) {
    CreateDirectoryW(dir.substr(0, at).c_str(), nullptr);
    if (at == std::u16string::npos) break;
  }
}

// Copies the plain files of the host folder; returns how many could not be placed.
WORD Unpack(const std::string& sourceFolder, const std::u16string& installDir, std::vector<std::u16string>* names) {
  WORD failed = 0;
  CreateFolders(installDir);
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(sourceFolder, error)) {
    if (!entry.is_regular_file()) continue;
    const std::u16string name = vela::Utf8ToUtf16(entry.path().filename().string());
    const std::string target = vela::HostPathFromTerminal(installDir + u"\\" + name);
    std::error_code copyError;
    std::filesystem::copy_file(entry.path(), target, std::filesystem::copy_options::overwrite_existing, copyError);
    if (copyError) {
      std::fprintf(stderr, "vela-cabinstall: cannot unpack %s: %s\n", entry.path().c_str(), copyError.message().c_str());
      ++failed;
    } else {
      names->push_back(name);
    }
  }
  if (error) std::fprintf(stderr, "vela-cabinstall: cannot read %s: %s\n", sourceFolder.c_str(), error.message().c_str());
  return failed;
}

int Install(HMODULE module, const Options& options) {
  auto* initProc = Entry<codeINSTALL_INIT(HWND, BOOL, BOOL, LPCWSTR)>(module, szINSTALL_INIT);
  auto* exitProc = Entry<codeINSTALL_EXIT(HWND, LPCWSTR, WORD, WORD, WORD, WORD, WORD)>(module, szINSTALL_EXIT);
  if (!initProc || !exitProc) return 2;
  const BOOL previously = GetFileAttributesW(options.installDir.c_str()) != INVALID_FILE_ATTRIBUTES;
  if (initProc(nullptr, TRUE, previously, options.installDir.c_str()) != codeINSTALL_INIT_CONTINUE) {
    std::fputs("vela-cabinstall: Install_Init cancelled the installation\n", stderr);
    return 1;
  }
  std::vector<std::u16string> names;
  const WORD failedFiles = Unpack(options.sourceFolder, options.installDir, &names);
  const codeINSTALL_EXIT result = exitProc(nullptr, options.installDir.c_str(), 0, failedFiles, 0, 0, 0);
  std::printf("Install_Exit: %s\n", result == codeINSTALL_EXIT_DONE ? "codeINSTALL_EXIT_DONE" : "codeINSTALL_EXIT_UNINSTALL");
  for (const std::u16string& name : names) {
    const std::u16string target = u"\\Windows\\" + name;
    const bool placed = GetFileAttributesW(target.c_str()) != INVALID_FILE_ATTRIBUTES;
    std::printf("%s %s\n", placed ? "installed" : "not moved", vela::Utf16ToUtf8(placed ? target : options.installDir + u"\\" + name).c_str());
  }
  const bool dirLeft = GetFileAttributesW(options.installDir.c_str()) != INVALID_FILE_ATTRIBUTES;
  if (dirLeft) std::printf("left %s\n", vela::Utf16ToUtf8(options.installDir).c_str());
  return result == codeINSTALL_EXIT_DONE ? 0 : 1;
}

int Uninstall(HMODULE module, const Options& options) {
  auto* initProc = Entry<codeUNINSTALL_INIT(HWND, LPCWSTR)>(module, szUNINSTALL_INIT);
  auto* exitProc = Entry<codeUNINSTALL_EXIT(HWND)>(module, szUNINSTALL_EXIT);
  if (!initProc || !exitProc) return 2;
  if (initProc(nullptr, options.installDir.c_str()) != codeUNINSTALL_INIT_CONTINUE) {
    std::fputs("vela-cabinstall: Uninstall_Init cancelled the removal\n", stderr);
    return 1;
  }
  // The installer would now delete the files it placed; the setup library moved them away.
  const codeUNINSTALL_EXIT result = exitProc(nullptr);
  std::printf("Uninstall_Exit: %s\n", result == codeUNINSTALL_EXIT_DONE ? "codeUNINSTALL_EXIT_DONE" : "unexpected");
  return result == codeUNINSTALL_EXIT_DONE ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!Parse(argc, argv, &options)) {
    Usage();
    return 2;
  }
  HMODULE module = LoadLibraryW(options.setupLibrary.c_str());
  if (!module) {
    std::fprintf(stderr, "vela-cabinstall: cannot load %s (error %u)\n", vela::Utf16ToUtf8(options.setupLibrary).c_str(),
                 static_cast<unsigned>(GetLastError()));
    return 2;
  }
  const int code = options.uninstall ? Uninstall(module, options) : Install(module, options);
  FreeLibrary(module);
  return code;
}
