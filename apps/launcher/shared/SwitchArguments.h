// Command-line switches of the sample programs: "/name:value" or "/name" (also with "-"),
// names matched without regard to case. The menu files pass them as an entry's ENVPATH, for
// example "/job:scan;quick /exit:0" (a value may hold ";").
#pragma once

#include <afxwin.h>

#include <vector>

class CSwitchArguments : public CCommandLineInfo {
public:
    struct Switch {
        CString name;   // upper case
        CString value;  // as given; empty for "/name"
        BOOL bHasValue = FALSE;

        // "/NAME:value", for messages about it.
        CString AsGiven() const;
    };

    void ParseParam(LPCTSTR pszParam, BOOL bFlag, BOOL bLast) override;

    // The value of the last "/name:value" given; FALSE when the switch is absent.
    BOOL Lookup(LPCTSTR name, CString& value) const;

    // The switches in the order given, and the arguments that were no switches.
    const std::vector<Switch>& Switches() const { return m_switches; }
    const std::vector<CString>& Others() const { return m_others; }

private:
    std::vector<Switch> m_switches;
    std::vector<CString> m_others;
};

// A whole decimal number with an optional sign and nothing else; FALSE for anything else and
// for values beyond int.
BOOL ParseWholeNumber(const CString& text, int& value);
