#include "LauncherOptions.h"

namespace {

constexpr int kLongestTimeout = 3600;

struct ResumeWord {
    LPCWSTR word;
    VelaResumeType type;
};
constexpr ResumeWord kResumeWords[] = {
    {u"wait", VelaResumeRestartWait},
    {u"exit", VelaResumeExit},
    {u"poweroff", VelaResumeExitPowerOff},
    {u"none", VelaResumeNone},
};

BOOL ApplySwitch(const CSwitchArguments::Switch& entry, LauncherOptions& options) {
    if (!entry.bHasValue || entry.value.IsEmpty()) return FALSE;
    if (entry.name == u"MENU") {
        options.firstMenu = entry.value;
        return TRUE;
    }
    if (entry.name == u"LOG") {
        options.logFile = entry.value;
        return TRUE;
    }
    if (entry.name == u"RESUME") {
        for (const ResumeWord& known : kResumeWords) {
            if (entry.value.CompareNoCase(known.word) == 0) {
                options.resume = known.type;
                return TRUE;
            }
        }
        return FALSE;
    }
    if (entry.name == u"TIMEOUT") {
        int seconds = 0;
        // Zero or less would time out at the first tick or wait for weeks: neither is meant.
        if (!ParseWholeNumber(entry.value, seconds) || seconds < 1 || seconds > kLongestTimeout) return FALSE;
        options.timeoutSeconds = seconds;
        return TRUE;
    }
    return FALSE;
}

}  // namespace

CString ParseLauncherOptions(const CSwitchArguments& args, LauncherOptions& options) {
    for (const CSwitchArguments::Switch& entry : args.Switches()) {
        if (!ApplySwitch(entry, options)) return entry.AsGiven();
    }
    if (!args.Others().empty()) return args.Others().front();
    return CString();
}
