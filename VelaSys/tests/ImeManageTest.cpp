// Key input mode and input method status, both ways: what a status number does to the
// terminal's input method, and which number each state of the input method reads as.
#include <VelaSys.h>
#include <imm.h>

#include "TerminalFixture.h"

namespace velasystest {
namespace {

using Ime = TerminalTest;

TEST_F(Ime, KeyInputModeIsMissingOnlyForMinusSix) {
    CVLSysImeManage ime;
    for (std::int32_t mode : {0, 3, -1, -5, -7, static_cast<std::int32_t>(0x80000000u)}) {
        ime.SetKeyInputMode(static_cast<DWORD>(mode));
        EXPECT_EQ(State().input.keyInputMode, mode);
        EXPECT_NE(ime.IsEnableKeyInputMode(), FALSE) << mode;
        EXPECT_EQ(ime.GetKeyInputMode(), static_cast<DWORD>(mode));
    }
    Update([](auto& s) { s.input.keyInputMode = vela::terminal::kNoKeyInputMode; });
    EXPECT_EQ(ime.IsEnableKeyInputMode(), FALSE);
}

// Flags outside the five that describe the characters, which the status changes must keep.
constexpr std::uint32_t kOtherFlags = IME_CMODE_SOFTKBD | IME_CMODE_SYMBOL | IME_CMODE_FIXED;

TEST_F(Ime, EachStatusSetsItsFlagsAndReadsBack) {
    const std::uint32_t expected[] = {0x19, 0x1B, 0x18, 0x13, 0x10};
    CVLSysImeManage ime;
    for (DWORD status = 1; status <= 5; ++status) {
        // Start from the opposite of the wanted flags, closed, with a sentence mode set.
        Update([&](auto& s) {
            s.input.imeOpen = false;
            s.input.conversion = kOtherFlags | (~expected[status - 1] & 0x1Bu);
            s.input.sentence = IME_SMODE_AUTOMATIC;
        });
        ime.SetConversionStatus(status);
        const auto input = State().input;
        EXPECT_TRUE(input.imeOpen) << status;
        EXPECT_EQ(input.conversion, kOtherFlags | expected[status - 1]) << status;
        EXPECT_EQ(input.sentence, 0u) << status;
        EXPECT_EQ(ime.GetConversionStatus(), status);
    }
}

TEST_F(Ime, HalfWidthAfterHiragana) {
    CVLSysImeManage ime;
    ime.SetConversionStatus(1);
    ime.SetConversionStatus(5);
    EXPECT_EQ(ime.GetConversionStatus(), 5u);
    EXPECT_EQ(State().input.conversion, static_cast<std::uint32_t>(IME_CMODE_ROMAN));
}

TEST_F(Ime, StatusZeroClosesAndKeepsTheFlags) {
    CVLSysImeManage ime;
    ime.SetConversionStatus(2);
    ime.SetConversionStatus(0);
    EXPECT_FALSE(State().input.imeOpen);
    EXPECT_EQ(State().input.conversion, 0x1Bu);
    EXPECT_EQ(ime.GetConversionStatus(), 0u);
}

// A status without a table entry opens the input method and keeps the conversion as it was.
TEST_F(Ime, UnknownStatusOnlyOpens) {
    Update([](auto& s) {
        s.input.conversion = kOtherFlags | IME_CMODE_KATAKANA;
        s.input.sentence = IME_SMODE_AUTOMATIC;
    });
    CVLSysImeManage ime;
    ime.SetConversionStatus(6);
    EXPECT_TRUE(State().input.imeOpen);
    EXPECT_EQ(State().input.conversion, kOtherFlags | IME_CMODE_KATAKANA);
    EXPECT_EQ(State().input.sentence, 0u);
}

// Every combination of the four flags that the reading looks at, roman and others ignored.
TEST_F(Ime, ReadingEveryFlagCombination) {
    CVLSysImeManage ime;
    for (std::uint32_t flags = 0; flags < 16; ++flags) {
        const bool native = flags & 1, katakana = flags & 2, full = flags & 4, roman = flags & 8;
        const std::uint32_t conversion = (native ? IME_CMODE_NATIVE : 0) | (katakana ? IME_CMODE_KATAKANA : 0) |
                                         (full ? IME_CMODE_FULLSHAPE : 0) | (roman ? IME_CMODE_ROMAN : 0) | kOtherFlags;
        const DWORD expected = full ? (!native ? 3 : katakana ? 2 : 1) : (katakana ? 4 : 5);
        Update([&](auto& s) {
            s.input.imeOpen = true;
            s.input.conversion = conversion;
        });
        EXPECT_EQ(ime.GetConversionStatus(), expected) << std::hex << conversion;
        Update([](auto& s) { s.input.imeOpen = false; });
        EXPECT_EQ(ime.GetConversionStatus(), 0u) << std::hex << conversion;
    }
}

}  // namespace
}  // namespace velasystest
