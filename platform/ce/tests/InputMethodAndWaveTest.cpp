// The input method with a NULL context and the wave-output volume act on the terminal.
#include <gtest/gtest.h>
#include <imm.h>
#include <mmsystem.h>
#include <vela/Terminal.h>

namespace {

class InputMethodAndWaveTest : public ::testing::Test {
 protected:
  void SetUp() override { vela::terminal::Get().ResetForTests(); }
  void TearDown() override { vela::terminal::Get().ResetForTests(); }
};

TEST_F(InputMethodAndWaveTest, ANullContextIsTheTerminalsInputMethod) {
  std::vector<vela::terminal::Change> heard;
  vela::terminal::ScopedListener listener([&](vela::terminal::Change c) { heard.push_back(c); });
  EXPECT_FALSE(ImmGetOpenStatus(nullptr));
  EXPECT_TRUE(ImmSetOpenStatus(nullptr, 5));
  EXPECT_TRUE(ImmGetOpenStatus(nullptr));
  EXPECT_TRUE(ImmSetConversionStatus(nullptr, IME_CMODE_NATIVE | IME_CMODE_FULLSHAPE | IME_CMODE_ROMAN | 0x400,
                                     IME_SMODE_AUTOMATIC));
  DWORD conversion = 0, sentence = 0;
  EXPECT_TRUE(ImmGetConversionStatus(nullptr, &conversion, &sentence));
  EXPECT_EQ(conversion, 0x419u);
  EXPECT_EQ(sentence, static_cast<DWORD>(IME_SMODE_AUTOMATIC));
  EXPECT_TRUE(ImmGetConversionStatus(nullptr, &conversion, nullptr));
  EXPECT_EQ(vela::terminal::Get().Get().input.conversion, 0x419u);
  // One change each: what the platform turns into WM_IME_NOTIFY.
  EXPECT_EQ(heard, std::vector<vela::terminal::Change>(2, vela::terminal::Change::Input));

  HIMC unknown = reinterpret_cast<HIMC>(uintptr_t{0x100});
  SetLastError(0);
  EXPECT_FALSE(ImmSetOpenStatus(unknown, FALSE));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_TRUE(ImmGetOpenStatus(nullptr));  // untouched
}

TEST_F(InputMethodAndWaveTest, WaveVolumeIsKeptPerDevice) {
  vela::terminal::Get().Update([](vela::terminal::State& s) { s.sound.waveVolumes = {0xFFFFFFFF, 0}; });
  HWAVEOUT first = reinterpret_cast<HWAVEOUT>(uintptr_t{0});
  HWAVEOUT second = reinterpret_cast<HWAVEOUT>(uintptr_t{1});
  EXPECT_EQ(waveOutSetVolume(first, 0x8000C000), static_cast<MMRESULT>(MMSYSERR_NOERROR));
  DWORD volume = 0;
  EXPECT_EQ(waveOutGetVolume(first, &volume), static_cast<MMRESULT>(MMSYSERR_NOERROR));
  EXPECT_EQ(volume, 0x8000C000u);
  EXPECT_EQ(waveOutGetVolume(second, &volume), static_cast<MMRESULT>(MMSYSERR_NOERROR));
  EXPECT_EQ(volume, 0u);

  HWAVEOUT none = reinterpret_cast<HWAVEOUT>(uintptr_t{2});
  volume = 7;
  EXPECT_EQ(waveOutGetVolume(none, &volume), static_cast<MMRESULT>(MMSYSERR_INVALHANDLE));
  EXPECT_EQ(volume, 7u);
  EXPECT_EQ(waveOutSetVolume(none, 1), static_cast<MMRESULT>(MMSYSERR_INVALHANDLE));
  EXPECT_EQ(waveOutGetVolume(first, nullptr), static_cast<MMRESULT>(MMSYSERR_INVALPARAM));
}

}  // namespace
