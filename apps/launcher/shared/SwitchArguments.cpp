#include "SwitchArguments.h"

#include <climits>

void CSwitchArguments::ParseParam(LPCTSTR pszParam, BOOL bFlag, BOOL) {
    const CString text(pszParam);
    if (!bFlag) {
        m_others.push_back(text);
        return;
    }
    Switch entry;
    const int colon = text.Find(u':');
    entry.bHasValue = colon >= 0;
    entry.name = entry.bHasValue ? text.Left(colon) : text;
    entry.name.MakeUpper();
    if (entry.bHasValue) entry.value = text.Mid(colon + 1);
    m_switches.push_back(entry);
}

CString CSwitchArguments::Switch::AsGiven() const {
    CString text = u"/" + name;
    if (bHasValue) text += u":" + value;
    return text;
}

BOOL CSwitchArguments::Lookup(LPCTSTR name, CString& value) const {
    CString wanted(name);
    wanted.MakeUpper();
    for (auto it = m_switches.rbegin(); it != m_switches.rend(); ++it) {
        if (it->bHasValue && it->name == wanted) {
            value = it->value;
            return TRUE;
        }
    }
    return FALSE;
}

BOOL ParseWholeNumber(const CString& text, int& value) {
    const int length = text.GetLength();
    int i = 0;
    bool negative = false;
    if (i < length && (text[i] == u'-' || text[i] == u'+')) negative = text[i++] == u'-';
    if (i == length) return FALSE;
    long long number = 0;
    for (; i < length; ++i) {
        const WCHAR c = text[i];
        if (c < u'0' || c > u'9') return FALSE;
        number = number * 10 + (c - u'0');
        if (number > static_cast<long long>(INT_MAX) + 1) return FALSE;
    }
    if (negative) number = -number;
    if (number < INT_MIN || number > INT_MAX) return FALSE;
    value = static_cast<int>(number);
    return TRUE;
}
