#include <wincrt.h>
#include <vela/MemoryStream.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <string>
#include <vector>

#include "ScopedTerminalRoot.h"
#include "crt/CookieStream.h"

namespace {

using vela::testing::ScopedTerminalRoot;

struct FileCloser {
  void operator()(FILE* f) const { fclose(f); }
};
using File = std::unique_ptr<FILE, FileCloser>;

File Open(const char16_t* path, const char16_t* mode) { return File(_wfopen(path, mode)); }

File Memory(std::string_view bytes, bool text = true) {
  return File(vela::OpenMemoryStream(bytes.data(), bytes.size(), text));
}

std::string ReadAll(FILE* f) {
  std::string out;
  char chunk[4096];
  size_t n;
  while ((n = fread(chunk, 1, sizeof chunk, f)) > 0) {
    out.append(chunk, n);
  }
  return out;
}

// Every line fgetws yields with a buffer of n characters.
std::vector<std::u16string> Lines(FILE* f, int n = 2048) {
  std::vector<std::u16string> lines;
  std::vector<WCHAR> buffer(static_cast<size_t>(n));
  while (fgetws(buffer.data(), n, f)) {
    lines.emplace_back(buffer.data());
  }
  return lines;
}

using Lines_ = std::vector<std::u16string>;

// --- Opening -------------------------------------------------------------------------------

TEST(WideOpenTest, MissingFileAndMissingFolder) {
  ScopedTerminalRoot root;
  errno = 0;
  EXPECT_EQ(_wfopen(u"\\none.ini", u"r"), nullptr);
  EXPECT_EQ(errno, ENOENT);
  errno = 0;
  EXPECT_EQ(_wfopen(u"\\NoFolder\\new.log", u"w"), nullptr);
  EXPECT_EQ(errno, ENOENT);
}

TEST(WideOpenTest, FolderCannotBeOpenedInAnyMode) {
  ScopedTerminalRoot root;
  root.MakeFolder("Temp");
  for (const char16_t* mode : {u"r", u"rb", u"w", u"a+", u"r+"}) {
    errno = 0;
    EXPECT_EQ(_wfopen(u"\\temp", mode), nullptr) << "mode " << static_cast<char>(mode[0]);
    EXPECT_EQ(errno, EACCES);
  }
}

TEST(WideOpenTest, UnreadableFileFails) {
  if (geteuid() == 0) {
    GTEST_SKIP() << "permissions do not stop root";
  }
  ScopedTerminalRoot root;
  root.WriteBytes("secret.ini", "a=b\n");
  ASSERT_EQ(chmod(root.Host("secret.ini").c_str(), 0), 0);
  errno = 0;
  EXPECT_EQ(_wfopen(u"\\secret.ini", u"r"), nullptr);
  EXPECT_EQ(errno, EACCES);
}

TEST(WideOpenTest, InvalidArgumentsAndModes) {
  ScopedTerminalRoot root;
  root.WriteBytes("a.ini", "x");
  for (const char16_t* mode : {u"", u"x", u"rw", u"r++", u"rtb"}) {
    errno = 0;
    EXPECT_EQ(_wfopen(u"\\a.ini", mode), nullptr);
    EXPECT_EQ(errno, EINVAL);
  }
  EXPECT_EQ(_wfopen(nullptr, u"r"), nullptr);
  EXPECT_EQ(_wfopen(u"\\a.ini", nullptr), nullptr);
  EXPECT_EQ(_wfopen(u"", u"r"), nullptr);
  EXPECT_NE(Open(u"\\a.ini", u"r+bc"), nullptr);
}

TEST(WideOpenTest, NameIsMatchedWithoutRegardToCase) {
  ScopedTerminalRoot root;
  root.MakeFolder("Windows");
  root.WriteBytes("Windows/Menu.ini", "found");
  File f = Open(u"\\WINDOWS\\menu.INI", u"r");
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(ReadAll(f.get()), "found");
  f.reset();

  // Modes that create reach the file of another case rather than making a second one.
  {
    File a = Open(u"\\windows\\MENU.ini", u"ab");
    ASSERT_NE(a, nullptr);
    EXPECT_GE(std::fputs("+", a.get()), 0);
  }
  EXPECT_EQ(root.ReadBytes("Windows/Menu.ini"), "found+");
  EXPECT_FALSE(std::filesystem::exists(root.Host("Windows/MENU.ini")));
  {
    File w = Open(u"\\WINDOWS\\New.ini", u"wb");
    ASSERT_NE(w, nullptr);
  }
  EXPECT_TRUE(std::filesystem::exists(root.Host("Windows/New.ini")));
}

// --- Text-mode translation -----------------------------------------------------------------

TEST(TextModeTest, CrLfBecomesLfAndLoneCrStays) {
  ScopedTerminalRoot root;
  const std::string bytes = "a\r\nb\rc\r\r\nd\n\re\r";
  root.WriteBytes("t.txt", bytes);
  EXPECT_EQ(ReadAll(Open(u"\\t.txt", u"r").get()), "a\nb\rc\r\nd\n\re\r");
  EXPECT_EQ(ReadAll(Open(u"\\t.txt", u"rt").get()), "a\nb\rc\r\nd\n\re\r");
  EXPECT_EQ(ReadAll(Open(u"\\t.txt", u"rb").get()), bytes);
  EXPECT_EQ(ReadAll(Memory(bytes).get()), "a\nb\rc\r\nd\n\re\r");
  EXPECT_EQ(ReadAll(Memory(bytes, false).get()), bytes);
}

// A CR that ends one chunk of input pairs with the LF that starts the next: at the end of
// the descriptor's read chunk and at the end of stdio's buffer, whose size glibc chooses.
TEST(TextModeTest, CrLfAcrossChunkBoundaries) {
  ScopedTerminalRoot root;
  std::string bytes(3 * vela::crt::kRawChunkSize, 'x');
  std::string expected = bytes;
  const size_t crAt[] = {vela::crt::kRawChunkSize - 1, 2 * vela::crt::kRawChunkSize - 1, 4095,
                         8191, BUFSIZ - 1};
  for (size_t i : crAt) {
    bytes[i] = '\r';
    bytes[i + 1] = '\n';
  }
  bytes.back() = '\r';  // and one at the very end
  for (size_t i = bytes.size(); i-- > 0;) {
    if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
      expected.replace(i, 2, "\n");
    } else {
      expected[i] = bytes[i];
    }
  }
  root.WriteBytes("big.txt", bytes);
  EXPECT_EQ(ReadAll(Open(u"\\big.txt", u"r").get()), expected);
  EXPECT_EQ(ReadAll(Memory(bytes).get()), expected);

  // Reading byte by byte asks the stream for small pieces.
  File f = Open(u"\\big.txt", u"r");
  ASSERT_EQ(setvbuf(f.get(), nullptr, _IONBF, 0), 0);
  std::string oneByOne;
  for (int c; (c = fgetc(f.get())) != EOF;) {
    oneByOne += static_cast<char>(c);
  }
  EXPECT_EQ(oneByOne, expected);
}

// A CR that ends what stdio asked for is held back until its next byte is known: the
// position and a write after the read still count it as not yet read.
TEST(TextModeTest, CrHeldAtTheEndOfARead) {
  ScopedTerminalRoot root;
  std::string bytes(BUFSIZ - 1, 'x');
  bytes += "\r\ntail";
  root.WriteBytes("held.txt", bytes);
  {
    File f = Open(u"\\held.txt", u"r+");
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(fgetc(f.get()), 'x');
    EXPECT_EQ(ftell(f.get()), 1);
    std::string rest(BUFSIZ - 2, 'x');
    ASSERT_EQ(fread(rest.data(), 1, rest.size(), f.get()), rest.size());
    EXPECT_EQ(ftell(f.get()), BUFSIZ - 1);
    ASSERT_EQ(fseek(f.get(), 0, SEEK_CUR), 0);
    EXPECT_EQ(fputc('!', f.get()), '!');
  }
  std::string expected = bytes;
  expected[BUFSIZ - 1] = '!';
  EXPECT_EQ(root.ReadBytes("held.txt"), expected);
}

TEST(TextModeTest, WritingTurnsLfIntoCrLf) {
  ScopedTerminalRoot root;
  {
    File f = Open(u"\\w.txt", u"w");
    ASSERT_NE(f, nullptr);
    EXPECT_GE(fputws(u"a\nb\r\n\n", f.get()), 0);
  }
  EXPECT_EQ(root.ReadBytes("w.txt"), "a\r\nb\r\r\n\r\n");
  {
    File f = Open(u"\\w.txt", u"ab");
    EXPECT_GE(fputws(u"c\n", f.get()), 0);
  }
  EXPECT_EQ(root.ReadBytes("w.txt"), "a\r\nb\r\r\n\r\nc\n");
  {
    File f = Open(u"\\w.txt", u"w+");
    EXPECT_GE(fputws(u"1\n2\n", f.get()), 0);
    rewind(f.get());
    EXPECT_EQ(ReadAll(f.get()), "1\n2\n");
  }
  EXPECT_EQ(root.ReadBytes("w.txt"), "1\r\n2\r\n");
}

TEST(BinaryStreamTest, SeekAndWriteAfterReadLandWhereExpected) {
  ScopedTerminalRoot root;
  root.WriteBytes("b.bin", "0123456789");
  {
    File f = Open(u"\\b.bin", u"r+b");
    char two[2];
    ASSERT_EQ(fread(two, 1, 2, f.get()), 2u);
    EXPECT_EQ(ftell(f.get()), 2);
    ASSERT_EQ(fseek(f.get(), 0, SEEK_CUR), 0);
    EXPECT_EQ(fputc('X', f.get()), 'X');
    ASSERT_EQ(fseek(f.get(), -2, SEEK_END), 0);
    EXPECT_EQ(fgetc(f.get()), '8');
  }
  EXPECT_EQ(root.ReadBytes("b.bin"), "01X3456789");
}

TEST(MemoryStreamTest, KeepsItsOwnCopyAndSeeks) {
  std::string bytes = "abc\r\ndef";
  File f = Memory(bytes);
  bytes.assign(bytes.size(), '?');
  EXPECT_EQ(ReadAll(f.get()), "abc\ndef");
  rewind(f.get());
  EXPECT_EQ(ReadAll(f.get()), "abc\ndef");
  EXPECT_EQ(fputc('x', f.get()), EOF);

  File b = Memory("abc\r\ndef", false);
  ASSERT_EQ(fseek(b.get(), 5, SEEK_SET), 0);
  EXPECT_EQ(ReadAll(b.get()), "def");
  ASSERT_EQ(fseek(b.get(), -4, SEEK_END), 0);
  EXPECT_EQ(ReadAll(b.get()), "\ndef");
  EXPECT_NE(fseek(b.get(), 100, SEEK_SET), 0);

  EXPECT_EQ(ReadAll(Memory("").get()), "");
  EXPECT_EQ(vela::OpenMemoryStream(nullptr, 3, true), nullptr);
}

// --- fgetws ---------------------------------------------------------------------------------

TEST(FgetwsTest, LinesKeepTheirLineFeed) {
  File f = Memory("one\r\ntwo\n\nlast");
  EXPECT_EQ(Lines(f.get()), (Lines_{u"one\n", u"two\n", u"\n", u"last"}));
}

TEST(FgetwsTest, LongLineArrivesInPiecesOfNMinusOne) {
  const std::string line(3000, 'x');
  File f = Memory(line + "\r\nnext\r\n" + line);
  const Lines_ lines = Lines(f.get(), 2048);
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[0], std::u16string(2047, u'x'));
  EXPECT_EQ(lines[1], std::u16string(953, u'x') + u"\n");
  EXPECT_EQ(lines[2], u"next\n");
  EXPECT_EQ(lines[3].size(), 2047u);
  EXPECT_EQ(lines[4].size(), 953u);
}

TEST(FgetwsTest, NulByteIsACharacterAndReadingGoesOn) {
  File f = Memory(std::string_view("a\0b\nc", 5));
  WCHAR buffer[16];
  ASSERT_EQ(fgetws(buffer, 16, f.get()), buffer);
  EXPECT_EQ(std::u16string(buffer, 5), std::u16string(u"a\0b\n\0", 5));
  ASSERT_NE(fgetws(buffer, 16, f.get()), nullptr);
  EXPECT_EQ(std::u16string(buffer), u"c");
  EXPECT_EQ(fgetws(buffer, 16, f.get()), nullptr);
}

TEST(FgetwsTest, TrailBytesThatLookLikeAscii) {
  // 表 ソ ー ゾ: trail bytes 5C ("\"), 5C, 5B ("["), 5D ("]").
  File f = Memory("\x95\x5C\x83\x5C\x81\x5B\x83\x5D\r\n[\x95\x5C]\n");
  EXPECT_EQ(Lines(f.get()), (Lines_{u"表ソーゾ\n", u"[表]\n"}));
}

TEST(FgetwsTest, SingleBytesOutsideAscii) {
  File f = Memory("\xB1\xDF\xA0\x80\xFD\xFE\xFF");
  EXPECT_EQ(Lines(f.get()), (Lines_{u"\uFF71\uFF9F\uF8F0\u0080\uF8F1\uF8F2\uF8F3"}));
}

TEST(FgetwsTest, BrokenDoubleByteCharacters) {
  // A lead byte before a line feed: the line feed is still read, and ends the line.
  File f = Memory("\x82\nA\x82" "0\x82");
  EXPECT_EQ(Lines(f.get()), (Lines_{u"\u30FB\n", u"A\u30FB0\u30FB"}));
  // A pair without a mapping is one default character.
  File g = Memory("\x85\x40|");
  EXPECT_EQ(Lines(g.get()), (Lines_{u"\u30FB|"}));
}

TEST(FgetwsTest, DoubleByteCharacterAtTheLastPlaceOfTheBuffer) {
  File f = Memory("ab\x82\xA0" "c");  // ab, あ, c
  EXPECT_EQ(Lines(f.get(), 4), (Lines_{u"abあ", u"c"}));
}

TEST(FgetwsTest, BufferSizesAndNullArguments) {
  File f = Memory("ab\n");
  WCHAR buffer[4] = {u'z', u'z', u'z', u'z'};
  EXPECT_EQ(fgetws(buffer, 1, f.get()), buffer);
  EXPECT_EQ(buffer[0], 0);
  EXPECT_EQ(buffer[1], u'z');
  EXPECT_EQ(fgetws(buffer, 0, f.get()), nullptr);
  EXPECT_EQ(fgetws(buffer, -1, f.get()), nullptr);
  EXPECT_EQ(fgetws(static_cast<WCHAR*>(nullptr), 4, f.get()), nullptr);
  EXPECT_EQ(fgetws(buffer, 4, nullptr), nullptr);
  // None of these consumed anything.
  EXPECT_EQ(fgetws(buffer, 4, f.get()), buffer);
  EXPECT_EQ(std::u16string(buffer), u"ab\n");
}

TEST(FgetwsTest, EndOfFileAndReadErrorGiveNull) {
  ScopedTerminalRoot root;
  WCHAR buffer[8];
  EXPECT_EQ(fgetws(buffer, 8, Memory("").get()), nullptr);
  File w = Open(u"\\out.txt", u"w");
  EXPECT_EQ(fgetws(buffer, 8, w.get()), nullptr);
  EXPECT_TRUE(ferror(w.get()));
}

// --- fputws ---------------------------------------------------------------------------------

TEST(FputwsTest, EncodesTheAnsiCodePage) {
  ScopedTerminalRoot root;
  {
    File f = Open(u"\\out.txt", u"w");
    EXPECT_GE(fputws(u"表ソーゾ\uFF71\uF8F3|\U0001F600|", f.get()), 0);
  }
  EXPECT_EQ(root.ReadBytes("out.txt"), "\x95\x5C\x83\x5C\x81\x5B\x83\x5D\xB1\xFF|?|");
  EXPECT_EQ(fputws(static_cast<const WCHAR*>(nullptr), stdout), -1);
}

TEST(FputwsTest, WriteToReadOnlyStreamFails) {
  File f = Memory("abc");
  EXPECT_EQ(fputws(u"x", f.get()), -1);
}

}  // namespace
