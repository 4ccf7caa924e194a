// vela-menu-dump: reads a menu file of the terminal (under VELA_ROOT) the way the menu launcher
// does and prints each menu's entries, following sub-menus depth first, each file once.
//
//   vela-menu-dump [terminal path of the first menu]      (default \Menu\Main.mnu)
#include <VelaFW.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

// Text for the console: UTF-8.
std::string ToConsole(LPCWSTR text) {
    int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1) return std::string();
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), size, nullptr, nullptr);
    out.resize(static_cast<size_t>(size - 1));
    return out;
}

CString FromConsole(const char* text) {
    int size = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
    CString out;
    if (size > 0) {
        MultiByteToWideChar(CP_UTF8, 0, text, -1, out.GetBuffer(size), size);
        out.ReleaseBuffer();
    }
    return out;
}

const char* KindOf(const CVLFWMenuItem& item) {
    if (item.IsComment()) return "label";
    if (item.IsDirectory()) return "menu";
    if (item.IsItem()) return "program";
    return "none";
}

void PrintMenu(const CVLFWMenuSpec& spec, int depth) {
    std::string indent(static_cast<size_t>(depth) * 2, ' ');
    std::printf("%s== %s  \"%s\"%s%s\n", indent.c_str(), ToConsole(spec.GetFullPath()).c_str(),
                ToConsole(spec.GetDispName()).c_str(), spec.IsUseLogon() ? "  logon=" : "",
                spec.IsUseLogon() ? ToConsole(spec.GetLogonName()).c_str() : "");
    for (INT_PTR i = 0; i < spec.GetSize(); ++i) {
        const auto* item = static_cast<const CVLFWMenuItem*>(spec.GetAt(i));
        std::printf("%s  %3s  %-7s \"%s\"", indent.c_str(), ToConsole(item->GetSelect()).c_str(),
                    KindOf(*item), ToConsole(item->GetDispName()).c_str());
        if (!item->IsComment()) {
            std::printf("  path=%s args=%s dir=%s show=%d", ToConsole(item->GetFullPath()).c_str(),
                        ToConsole(item->GetArg()).c_str(), ToConsole(item->GetWorkingDirectory()).c_str(),
                        item->GetShowCommand());
            if (item->IsUseLogon()) std::printf(" logon=%s", ToConsole(item->GetLogonName()).c_str());
        }
        std::printf("\n");
    }
}

// Depth first through the sub-menus; a file already shown is not read again, so a tree whose
// files point back at each other still ends.
void Walk(const CString& path, const CString& title, int depth, std::vector<CString>& seen) {
    for (const CString& done : seen) {
        if (done.CompareNoCase(path) == 0) return;
    }
    seen.push_back(path);
    CVLFWMenuSpec spec;
    if (!spec.Read(path, title, nullptr)) {
        std::printf("%*s== %s: cannot be read\n", depth * 2, "", ToConsole(path).c_str());
        return;
    }
    PrintMenu(spec, depth);
    for (INT_PTR i = 0; i < spec.GetSize(); ++i) {
        const auto* item = static_cast<const CVLFWMenuItem*>(spec.GetAt(i));
        if (item->IsDirectory()) Walk(item->GetFullPath(), item->GetDispName(), depth + 1, seen);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 2 || (argc == 2 && argv[1][0] == '-')) {
        std::fprintf(stderr, "usage: vela-menu-dump [terminal path of the first menu]\n"
                             "Reads menu files under the terminal root named by VELA_ROOT.\n");
        return 2;
    }
    CString first = argc == 2 ? FromConsole(argv[1]) : CString(u"\\Menu\\Main.mnu");
    std::vector<CString> seen;
    CVLFWMenuSpec probe;
    if (!probe.Read(first, u"", nullptr)) {
        std::fprintf(stderr, "vela-menu-dump: %s cannot be read (is VELA_ROOT set to a terminal root?)\n",
                     ToConsole(first).c_str());
        return 1;
    }
    Walk(first, CString(u""), 0, seen);
    return 0;
}
