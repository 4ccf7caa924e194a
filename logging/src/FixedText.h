// Text composed in a caller's fixed buffer. Nothing is ever written past the buffer: an append
// that does not fit whole keeps what fits (never half a surrogate pair), keeps the text
// terminated and marks the result as cut.
#pragma once

#include <windows.h>

namespace tarn {

class FixedText {
public:
    FixedText(WCHAR* buffer, size_t capacity) : m_buf(buffer), m_cap(capacity) {
        if (m_cap > 0) m_buf[0] = 0;
    }

    bool Ok() const { return !m_cut; }
    size_t Length() const { return m_len; }

    void Append(LPCWSTR text) {
        if (text == nullptr) return;
        for (; *text != 0; ++text) AppendChar(*text);
    }

    void AppendChar(WCHAR c) {
        if (m_cut) return;
        if (m_len + 1 >= m_cap) {
            // A high surrogate left alone at the end would be half a character.
            if (m_len > 0 && m_buf[m_len - 1] >= 0xD800 && m_buf[m_len - 1] <= 0xDBFF) m_buf[--m_len] = 0;
            m_cut = true;
            return;
        }
        m_buf[m_len++] = c;
        m_buf[m_len] = 0;
    }

    void AppendUnsigned(unsigned long long value, unsigned base = 10, unsigned minDigits = 1) {
        WCHAR digits[24];
        unsigned n = 0;
        do {
            unsigned d = static_cast<unsigned>(value % base);
            digits[n++] = static_cast<WCHAR>(d < 10 ? u'0' + d : u'a' + d - 10);
            value /= base;
        } while (value != 0);
        while (n < minDigits && n < 24) digits[n++] = u'0';
        while (n > 0) AppendChar(digits[--n]);
    }

    // An opening quote, the text with each quote doubled, a closing quote. NULL or empty text
    // gives an empty field.
    void AppendEscaped(LPCWSTR text) {
        AppendChar(u'"');
        if (text != nullptr) {
            for (; *text != 0; ++text) {
                if (*text == u'"') AppendChar(u'"');
                AppendChar(*text);
            }
        }
        AppendChar(u'"');
    }

private:
    WCHAR* m_buf;
    size_t m_cap;
    size_t m_len = 0;
    bool m_cut = false;
};

}  // namespace tarn
