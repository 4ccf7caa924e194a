// Compares what a vela::MessageSpy recorded with an expected table, in the style of the
// platform's conformance tests: each entry names a message and how it must arrive (sent or
// posted), may check wParam/lParam/the window, and may be optional where the platform varies.
//
//   EXPECT_TRUE(MatchesSequence(spy.Take(), {{WM_CREATE, kSent}, {WM_SIZE, kSent | kOptional}}));
#pragma once

#include <windows.h>

#include <gtest/gtest.h>
#include <vela/MessageSpy.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

namespace vela::test {

enum MessageFlags : unsigned {
  kSent = 1u << 0,
  kPosted = 1u << 1,
  kOptional = 1u << 2,
  kWParam = 1u << 3,  // wParam must equal the entry's
  kLParam = 1u << 4,  // lParam must equal the entry's
};

struct ExpectedMessage {
  UINT message;
  unsigned flags = kSent;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  HWND hwnd = nullptr;  // when set, the message must be for this window
};

inline std::string MessageName(UINT message) {
  switch (message) {
#define VELA_MESSAGE_NAME(m) \
  case m:                    \
    return #m;
    VELA_MESSAGE_NAME(WM_NULL)
    VELA_MESSAGE_NAME(WM_CREATE)
    VELA_MESSAGE_NAME(WM_DESTROY)
    VELA_MESSAGE_NAME(WM_MOVE)
    VELA_MESSAGE_NAME(WM_SIZE)
    VELA_MESSAGE_NAME(WM_ACTIVATE)
    VELA_MESSAGE_NAME(WM_SETFOCUS)
    VELA_MESSAGE_NAME(WM_KILLFOCUS)
    VELA_MESSAGE_NAME(WM_ENABLE)
    VELA_MESSAGE_NAME(WM_SETTEXT)
    VELA_MESSAGE_NAME(WM_GETTEXT)
    VELA_MESSAGE_NAME(WM_GETTEXTLENGTH)
    VELA_MESSAGE_NAME(WM_PAINT)
    VELA_MESSAGE_NAME(WM_CLOSE)
    VELA_MESSAGE_NAME(WM_QUIT)
    VELA_MESSAGE_NAME(WM_ERASEBKGND)
    VELA_MESSAGE_NAME(WM_SHOWWINDOW)
    VELA_MESSAGE_NAME(WM_SETFONT)
    VELA_MESSAGE_NAME(WM_GETFONT)
    VELA_MESSAGE_NAME(WM_WINDOWPOSCHANGING)
    VELA_MESSAGE_NAME(WM_WINDOWPOSCHANGED)
    VELA_MESSAGE_NAME(WM_STYLECHANGING)
    VELA_MESSAGE_NAME(WM_STYLECHANGED)
    VELA_MESSAGE_NAME(WM_KEYDOWN)
    VELA_MESSAGE_NAME(WM_KEYUP)
    VELA_MESSAGE_NAME(WM_CHAR)
    VELA_MESSAGE_NAME(WM_COMMAND)
    VELA_MESSAGE_NAME(WM_TIMER)
    VELA_MESSAGE_NAME(WM_MOUSEMOVE)
    VELA_MESSAGE_NAME(WM_LBUTTONDOWN)
    VELA_MESSAGE_NAME(WM_LBUTTONUP)
    VELA_MESSAGE_NAME(WM_LBUTTONDBLCLK)
    VELA_MESSAGE_NAME(WM_CAPTURECHANGED)
    VELA_MESSAGE_NAME(WM_USER)
#undef VELA_MESSAGE_NAME
    default: {
      char buffer[32];
      std::snprintf(buffer, sizeof buffer, "0x%04X", message);
      return buffer;
    }
  }
}

namespace detail {

inline bool Matches(const ExpectedMessage& e, const SpiedMessage& m) {
  if (e.message != m.message) {
    return false;
  }
  if ((e.flags & kSent) && m.posted) {
    return false;
  }
  if ((e.flags & kPosted) && !m.posted) {
    return false;
  }
  if ((e.flags & kWParam) && e.wParam != m.wParam) {
    return false;
  }
  if ((e.flags & kLParam) && e.lParam != m.lParam) {
    return false;
  }
  return e.hwnd == nullptr || e.hwnd == m.hwnd;
}

inline std::string Describe(const SpiedMessage& m) {
  std::ostringstream out;
  out << MessageName(m.message) << (m.posted ? " posted" : " sent") << " hwnd=" << m.hwnd << " wParam=0x" << std::hex
      << m.wParam << " lParam=0x" << m.lParam;
  return out.str();
}

inline std::string Describe(const ExpectedMessage& e) {
  std::ostringstream out;
  out << MessageName(e.message) << ((e.flags & kPosted) ? " posted" : (e.flags & kSent) ? " sent" : "");
  if (e.flags & kOptional) {
    out << " (optional)";
  }
  if (e.flags & kWParam) {
    out << " wParam=0x" << std::hex << e.wParam << std::dec;
  }
  if (e.flags & kLParam) {
    out << " lParam=0x" << std::hex << e.lParam << std::dec;
  }
  if (e.hwnd != nullptr) {
    out << " hwnd=" << e.hwnd;
  }
  return out.str();
}

}  // namespace detail

// Success when the recording is the expected table, optional entries allowed to be missing.
inline ::testing::AssertionResult MatchesSequence(const std::vector<SpiedMessage>& got,
                                                  const std::vector<ExpectedMessage>& expected) {
  std::size_t g = 0;
  std::size_t e = 0;
  std::string failure;
  while (e < expected.size()) {
    if (g < got.size() && detail::Matches(expected[e], got[g])) {
      ++g;
      ++e;
    } else if (expected[e].flags & kOptional) {
      ++e;
    } else {
      failure = "expected " + detail::Describe(expected[e]) +
                (g < got.size() ? ", got " + detail::Describe(got[g]) : std::string(", got nothing more"));
      break;
    }
  }
  if (failure.empty() && g < got.size()) {
    failure = "unexpected " + detail::Describe(got[g]);
  }
  if (failure.empty()) {
    return ::testing::AssertionSuccess();
  }
  std::ostringstream out;
  out << failure << "\nrecorded:\n";
  for (std::size_t i = 0; i < got.size(); ++i) {
    out << (i == g ? " -> " : "    ") << detail::Describe(got[i]) << "\n";
  }
  out << "expected:\n";
  for (std::size_t i = 0; i < expected.size(); ++i) {
    out << (i == e ? " -> " : "    ") << detail::Describe(expected[i]) << "\n";
  }
  return ::testing::AssertionFailure() << out.str();
}

// The recording without the messages a test does not care about.
inline std::vector<SpiedMessage> Without(std::vector<SpiedMessage> got, std::initializer_list<UINT> ignored) {
  std::erase_if(got, [&](const SpiedMessage& m) {
    for (UINT i : ignored) {
      if (m.message == i) {
        return true;
      }
    }
    return false;
  });
  return got;
}

}  // namespace vela::test
