// Code page identity, lead bytes, and the argument rules shared by both conversion functions.
#include <winerror.h>
#include <winnls.h>

#include <gtest/gtest.h>

namespace {

constexpr DWORD kMarker = 0xDEADBEEF;

TEST(CodePage, TerminalCodePagesAre932) {
    EXPECT_EQ(932u, GetACP());
    EXPECT_EQ(932u, GetOEMCP());
}

TEST(CodePage, LeadBytesOf932) {
    for (unsigned b = 0; b <= 0xFF; ++b) {
        const bool lead = (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
        EXPECT_EQ(lead ? TRUE : FALSE, IsDBCSLeadByte(static_cast<BYTE>(b))) << b;
        for (UINT cp : {UINT{CP_ACP}, UINT{CP_OEMCP}, UINT{CP_THREAD_ACP}, UINT{932}}) {
            EXPECT_EQ(lead ? TRUE : FALSE, IsDBCSLeadByteEx(cp, static_cast<BYTE>(b))) << cp << " " << b;
        }
    }
}

TEST(CodePage, LeadBytesOfOtherCodePages) {
    SetLastError(kMarker);
    EXPECT_EQ(FALSE, IsDBCSLeadByteEx(CP_UTF8, 0xE3));
    EXPECT_EQ(kMarker, GetLastError());
    EXPECT_EQ(FALSE, IsDBCSLeadByteEx(936, 0x81));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), GetLastError());
}

struct BadCall {
    const char* what;
    UINT codePage;
    DWORD flags;
    const char* input;
    int inputLength;
    bool output;
    int outputSize;
    DWORD error;
};

TEST(CodePage, MultiByteToWideCharRefusesBadArguments) {
    const BadCall calls[] = {
        {"null input", CP_ACP, 0, nullptr, 3, true, 8, ERROR_INVALID_PARAMETER},
        {"empty input", CP_ACP, 0, "abc", 0, true, 8, ERROR_INVALID_PARAMETER},
        {"length below -1", CP_ACP, 0, "abc", -2, true, 8, ERROR_INVALID_PARAMETER},
        {"negative output size", CP_ACP, 0, "abc", 3, true, -1, ERROR_INVALID_PARAMETER},
        {"size without buffer", CP_ACP, 0, "abc", 3, false, 8, ERROR_INVALID_PARAMETER},
        {"unknown code page", 437, 0, "abc", 3, true, 8, ERROR_INVALID_PARAMETER},
        {"UTF-7", CP_UTF7, 0, "abc", 3, true, 8, ERROR_INVALID_PARAMETER},
        {"unknown flag", CP_ACP, 0x100, "abc", 3, true, 8, ERROR_INVALID_FLAGS},
        {"precomposed and composite", CP_ACP, MB_PRECOMPOSED | MB_COMPOSITE, "abc", 3, true, 8, ERROR_INVALID_FLAGS},
        {"UTF-8 takes no precomposed", CP_UTF8, MB_PRECOMPOSED, "abc", 3, true, 8, ERROR_INVALID_FLAGS},
        {"composite", CP_ACP, MB_COMPOSITE, "abc", 3, true, 8, ERROR_CALL_NOT_IMPLEMENTED},
    };
    for (const BadCall& c : calls) {
        WCHAR out[8] = {u'x', u'x', u'x', u'x', u'x', u'x', u'x', u'x'};
        SetLastError(kMarker);
        EXPECT_EQ(0, MultiByteToWideChar(c.codePage, c.flags, c.input, c.inputLength, c.output ? out : nullptr, c.outputSize))
            << c.what;
        EXPECT_EQ(c.error, GetLastError()) << c.what;
        EXPECT_EQ(u'x', out[0]) << c.what;
    }
}

TEST(CodePage, WideCharToMultiByteRefusesBadArguments) {
    struct WideBadCall {
        const char* what;
        UINT codePage;
        DWORD flags;
        const char16_t* input;
        int inputLength;
        bool output;
        int outputSize;
        const char* defaultChar;
        bool askUsedDefault;
        DWORD error;
    };
    const WideBadCall calls[] = {
        {"null input", CP_ACP, 0, nullptr, 3, true, 8, nullptr, false, ERROR_INVALID_PARAMETER},
        {"empty input", CP_ACP, 0, u"abc", 0, true, 8, nullptr, false, ERROR_INVALID_PARAMETER},
        {"length below -1", CP_ACP, 0, u"abc", -5, true, 8, nullptr, false, ERROR_INVALID_PARAMETER},
        {"negative output size", CP_ACP, 0, u"abc", 3, true, -1, nullptr, false, ERROR_INVALID_PARAMETER},
        {"size without buffer", CP_ACP, 0, u"abc", 3, false, 8, nullptr, false, ERROR_INVALID_PARAMETER},
        {"unknown code page", 1252, 0, u"abc", 3, true, 8, nullptr, false, ERROR_INVALID_PARAMETER},
        {"unknown flag", CP_ACP, 0x1, u"abc", 3, true, 8, nullptr, false, ERROR_INVALID_FLAGS},
        {"UTF-8 takes no flags", CP_UTF8, WC_NO_BEST_FIT_CHARS, u"abc", 3, true, 8, nullptr, false, ERROR_INVALID_FLAGS},
        {"UTF-8 with default char", CP_UTF8, 0, u"abc", 3, true, 8, "?", false, ERROR_INVALID_PARAMETER},
        {"UTF-8 asking for default use", CP_UTF8, 0, u"abc", 3, true, 8, nullptr, true, ERROR_INVALID_PARAMETER},
        {"lone lead byte as default", CP_ACP, 0, u"abc", 3, true, 8, "\x81", false, ERROR_INVALID_PARAMETER},
        {"composite check", CP_ACP, WC_COMPOSITECHECK, u"abc", 3, true, 8, nullptr, false, ERROR_CALL_NOT_IMPLEMENTED},
    };
    for (const WideBadCall& c : calls) {
        char out[8] = {'x', 'x', 'x', 'x', 'x', 'x', 'x', 'x'};
        BOOL usedDefault = 7;
        SetLastError(kMarker);
        EXPECT_EQ(0, WideCharToMultiByte(c.codePage, c.flags, c.input, c.inputLength, c.output ? out : nullptr, c.outputSize,
                                         c.defaultChar, c.askUsedDefault ? &usedDefault : nullptr))
            << c.what;
        EXPECT_EQ(c.error, GetLastError()) << c.what;
        EXPECT_EQ('x', out[0]) << c.what;
        EXPECT_EQ(7, usedDefault) << c.what;
    }
}

TEST(CodePage, InputAndOutputMustNotBeTheSameBuffer) {
    alignas(char16_t) char buffer[16] = "abc";
    SetLastError(kMarker);
    EXPECT_EQ(0, MultiByteToWideChar(CP_ACP, 0, buffer, 3, reinterpret_cast<LPWSTR>(buffer), 8));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), GetLastError());
    SetLastError(kMarker);
    EXPECT_EQ(0, WideCharToMultiByte(CP_ACP, 0, reinterpret_cast<LPCWSTR>(buffer), 1, buffer, 16, nullptr, nullptr));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), GetLastError());
}

TEST(CodePage, AnsiNamesAreAll932) {
    const char bytes[] = "\x95\x5C\xB1\xFF";
    for (UINT cp : {UINT{CP_ACP}, UINT{CP_OEMCP}, UINT{CP_THREAD_ACP}, UINT{932}}) {
        WCHAR out[8] = {};
        SetLastError(kMarker);
        ASSERT_EQ(3, MultiByteToWideChar(cp, 0, bytes, 4, out, 8)) << cp;
        EXPECT_EQ(std::u16string(u"\u8868\uFF71\uF8F3"), std::u16string(out, 3)) << cp;
        char back[8] = {};
        ASSERT_EQ(4, WideCharToMultiByte(cp, 0, out, 3, back, 8, nullptr, nullptr)) << cp;
        EXPECT_EQ(std::string(bytes, 4), std::string(back, 4)) << cp;
        EXPECT_EQ(kMarker, GetLastError()) << cp;
    }
}

}  // namespace
