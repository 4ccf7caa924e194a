#include <windows.h>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "ScopedTerminalRoot.h"

namespace {

constexpr DWORD kMarker = 0xdeadbeef;

class FileTest : public ::testing::Test {
 protected:
  FileTest() { root_.MakeFolder("Temp"); }

  static HANDLE Open(LPCWSTR path, DWORD access, DWORD disposition, DWORD share = 0) {
    return CreateFileW(path, access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
  }
  static std::string ReadAll(HANDLE h) {
    std::string out(4096, '\0');
    DWORD got = 0;
    EXPECT_TRUE(ReadFile(h, out.data(), static_cast<DWORD>(out.size()), &got, nullptr));
    out.resize(got);
    return out;
  }
  static void Write(HANDLE h, std::string_view bytes) {
    DWORD put = 0;
    ASSERT_TRUE(WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr));
    ASSERT_EQ(put, bytes.size());
  }

  vela::testing::ScopedTerminalRoot root_;
};

struct DispositionCase {
  DWORD disposition;
  bool exists;
  bool opens;
  DWORD lastError;      // after the call; kMarker where the call leaves it alone
  const char* content;  // of the file afterwards, nullptr when there is none
};

TEST_F(FileTest, DispositionsOnExistingAndMissingFiles) {
  const DispositionCase cases[] = {
      {CREATE_NEW, false, true, kMarker, ""},
      {CREATE_NEW, true, false, ERROR_FILE_EXISTS, "old"},
      {CREATE_ALWAYS, false, true, ERROR_SUCCESS, ""},
      {CREATE_ALWAYS, true, true, ERROR_ALREADY_EXISTS, ""},
      {OPEN_EXISTING, false, false, ERROR_FILE_NOT_FOUND, nullptr},
      {OPEN_EXISTING, true, true, kMarker, "old"},
      {OPEN_ALWAYS, false, true, ERROR_SUCCESS, ""},
      {OPEN_ALWAYS, true, true, ERROR_ALREADY_EXISTS, "old"},
      {TRUNCATE_EXISTING, false, false, ERROR_FILE_NOT_FOUND, nullptr},
      {TRUNCATE_EXISTING, true, true, kMarker, ""},
  };
  for (const DispositionCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "disposition " << c.disposition << (c.exists ? " existing" : " missing"));
    std::filesystem::remove(root_.Host("Temp/f.txt"));
    if (c.exists) {
      root_.WriteBytes("Temp/f.txt", "old");
    }
    SetLastError(kMarker);
    HANDLE h = Open(u"\\Temp\\f.txt", GENERIC_READ | GENERIC_WRITE, c.disposition);
    EXPECT_EQ(h != INVALID_HANDLE_VALUE, c.opens);
    EXPECT_EQ(GetLastError(), c.lastError);
    if (h != INVALID_HANDLE_VALUE) {
      EXPECT_TRUE(CloseHandle(h));
    }
    EXPECT_EQ(std::filesystem::exists(root_.Host("Temp/f.txt")), c.content != nullptr);
    if (c.content) {
      EXPECT_EQ(root_.ReadBytes("Temp/f.txt"), c.content);
    }
  }
}

TEST_F(FileTest, BadNamesAndArguments) {
  root_.MakeFolder("Folder");
  root_.WriteBytes("Temp/plain.txt", "x");
  struct Case {
    LPCWSTR path;
    DWORD access;
    DWORD disposition;
    DWORD error;
  } const cases[] = {
      {u"\\Missing\\a.txt", GENERIC_WRITE, OPEN_ALWAYS, ERROR_PATH_NOT_FOUND},
      {u"\\Missing\\a.txt", GENERIC_READ, OPEN_EXISTING, ERROR_PATH_NOT_FOUND},
      {u"\\Temp\\plain.txt\\a.txt", GENERIC_READ, OPEN_EXISTING, ERROR_PATH_NOT_FOUND},
      {u"\\Folder", GENERIC_READ, OPEN_EXISTING, ERROR_ACCESS_DENIED},
      {u"\\Folder", GENERIC_WRITE, OPEN_ALWAYS, ERROR_ACCESS_DENIED},
      {u"\\Folder", GENERIC_WRITE, CREATE_NEW, ERROR_FILE_EXISTS},
      {u"", GENERIC_READ, OPEN_EXISTING, ERROR_PATH_NOT_FOUND},
      {nullptr, GENERIC_READ, OPEN_EXISTING, ERROR_PATH_NOT_FOUND},
      {u"\\Temp\\plain.txt", GENERIC_READ, 0, ERROR_INVALID_PARAMETER},
      {u"\\Temp\\plain.txt", GENERIC_READ, 6, ERROR_INVALID_PARAMETER},
      {u"\\Temp\\plain.txt", GENERIC_READ, TRUNCATE_EXISTING, ERROR_INVALID_PARAMETER},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "case " << (&c - cases));
    SetLastError(kMarker);
    EXPECT_EQ(Open(c.path, c.access, c.disposition), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), c.error);
  }
  EXPECT_FALSE(std::filesystem::exists(root_.Host("Missing")));
  EXPECT_EQ(root_.ReadBytes("Temp/plain.txt"), "x");
}

// A file without write permission bits is read-only: write access is refused even to a
// superuser, and the data stays as it was.
TEST_F(FileTest, ReadOnlyFileRefusesWriteAccess) {
  root_.WriteBytes("Temp/ro.txt", "keep");
  ASSERT_EQ(chmod(root_.Host("Temp/ro.txt").c_str(), 0444), 0);
  EXPECT_EQ(GetFileAttributesW(u"\\Temp\\ro.txt"), DWORD{FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE});
  for (DWORD disposition : {OPEN_EXISTING, OPEN_ALWAYS, CREATE_ALWAYS, TRUNCATE_EXISTING}) {
    SetLastError(kMarker);
    EXPECT_EQ(Open(u"\\Temp\\ro.txt", GENERIC_WRITE, disposition), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), DWORD{ERROR_ACCESS_DENIED});
  }
  EXPECT_EQ(_wfopen(u"\\Temp\\ro.txt", u"a"), nullptr);
  EXPECT_EQ(root_.ReadBytes("Temp/ro.txt"), "keep");
  SetLastError(kMarker);
  EXPECT_FALSE(DeleteFileW(u"\\Temp\\ro.txt"));
  EXPECT_EQ(GetLastError(), DWORD{ERROR_ACCESS_DENIED});

  HANDLE h = Open(u"\\Temp\\ro.txt", GENERIC_READ, OPEN_EXISTING);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  EXPECT_EQ(ReadAll(h), "keep");
  CloseHandle(h);

  ASSERT_TRUE(SetFileAttributesW(u"\\Temp\\ro.txt", FILE_ATTRIBUTE_NORMAL));
  h = Open(u"\\Temp\\ro.txt", GENERIC_WRITE, OPEN_EXISTING);
  EXPECT_NE(h, INVALID_HANDLE_VALUE);
  CloseHandle(h);
}

TEST_F(FileTest, FullDiskFailsTheWrite) {
  std::filesystem::create_symlink("/dev/full", root_.Host("Temp/full.log"));
  HANDLE h = Open(u"\\Temp\\full.log", GENERIC_WRITE, OPEN_EXISTING);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  DWORD put = 1234;
  SetLastError(kMarker);
  EXPECT_FALSE(WriteFile(h, "abc", 3, &put, nullptr));
  EXPECT_EQ(GetLastError(), DWORD{ERROR_DISK_FULL});
  EXPECT_EQ(put, 0u);
  CloseHandle(h);
}

// The logging library's record: open or create without sharing, append, flush, close.
TEST_F(FileTest, AppendRecordsAreInTheFileBeforeClose) {
  for (int i = 0; i < 2; ++i) {
    SetLastError(kMarker);
    HANDLE h = CreateFileW(u"\\TEMP\\Log.txt", GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), i == 0 ? DWORD{ERROR_SUCCESS} : DWORD{ERROR_ALREADY_EXISTS});
    EXPECT_EQ(SetFilePointer(h, 0, nullptr, FILE_END), i == 0 ? 0u : 5u);
    Write(h, "line\n");
    EXPECT_EQ(root_.ReadBytes("Temp/Log.txt"), i == 0 ? "line\n" : "line\nline\n");
    EXPECT_TRUE(FlushFileBuffers(h));
    EXPECT_TRUE(CloseHandle(h));
  }
}

TEST_F(FileTest, AccessIsCheckedPerHandle) {
  HANDLE writer = Open(u"\\Temp\\a.bin", GENERIC_WRITE, CREATE_ALWAYS, FILE_SHARE_READ);
  HANDLE reader = Open(u"\\Temp\\a.bin", GENERIC_READ, OPEN_EXISTING, FILE_SHARE_READ | FILE_SHARE_WRITE);
  ASSERT_NE(writer, INVALID_HANDLE_VALUE);
  ASSERT_NE(reader, INVALID_HANDLE_VALUE);
  char buffer[4];
  DWORD count = 99;
  SetLastError(kMarker);
  EXPECT_FALSE(ReadFile(writer, buffer, sizeof buffer, &count, nullptr));
  EXPECT_EQ(GetLastError(), DWORD{ERROR_ACCESS_DENIED});
  EXPECT_EQ(count, 0u);
  SetLastError(kMarker);
  EXPECT_FALSE(WriteFile(reader, "x", 1, &count, nullptr));
  EXPECT_EQ(GetLastError(), DWORD{ERROR_ACCESS_DENIED});
  SetLastError(kMarker);
  EXPECT_FALSE(SetEndOfFile(reader));
  EXPECT_EQ(GetLastError(), DWORD{ERROR_ACCESS_DENIED});
  SetLastError(kMarker);
  EXPECT_FALSE(FlushFileBuffers(reader));
  EXPECT_EQ(GetLastError(), DWORD{ERROR_ACCESS_DENIED});

  OVERLAPPED overlapped{};
  SetLastError(kMarker);
  EXPECT_FALSE(WriteFile(writer, "x", 1, &count, &overlapped));
  EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_PARAMETER});
  SetLastError(kMarker);
  EXPECT_FALSE(WriteFile(writer, nullptr, 1, &count, nullptr));
  EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_PARAMETER});

  Write(writer, "abcdef");
  EXPECT_EQ(ReadAll(reader), "abcdef");
  EXPECT_EQ(ReadAll(reader), "");  // end of file: success with nothing
  CloseHandle(writer);
  CloseHandle(reader);

  SetLastError(kMarker);
  EXPECT_FALSE(WriteFile(writer, "x", 1, &count, nullptr));
  EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_HANDLE});
}

TEST_F(FileTest, FilePointerAndSize) {
  HANDLE h = Open(u"\\Temp\\p.bin", GENERIC_READ | GENERIC_WRITE, CREATE_ALWAYS);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  Write(h, "0123456789");
  struct Case {
    LONG distance;
    DWORD method;
    DWORD position;  // INVALID_SET_FILE_POINTER: refused, pointer unchanged
    DWORD error;
  } const cases[] = {
      {2, FILE_BEGIN, 2, kMarker},
      {3, FILE_CURRENT, 5, kMarker},
      {-1, FILE_END, 9, kMarker},
      {-10, FILE_CURRENT, INVALID_SET_FILE_POINTER, ERROR_NEGATIVE_SEEK},
      {-1, FILE_BEGIN, INVALID_SET_FILE_POINTER, ERROR_NEGATIVE_SEEK},
      {0, 3, INVALID_SET_FILE_POINTER, ERROR_INVALID_PARAMETER},
      {20, FILE_BEGIN, 20, kMarker},  // past the end is allowed
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "case " << (&c - cases));
    SetLastError(kMarker);
    EXPECT_EQ(SetFilePointer(h, c.distance, nullptr, c.method), c.position);
    EXPECT_EQ(GetLastError(), c.error);
  }
  // With the high part the distance is 64 bits: 4 GB + 1 from the start, then back.
  LONG high = 1;
  EXPECT_EQ(SetFilePointer(h, 1, &high, FILE_BEGIN), 1u);
  EXPECT_EQ(high, 1);
  high = -1;
  EXPECT_EQ(SetFilePointer(h, 0, &high, FILE_CURRENT), 1u);
  EXPECT_EQ(high, 0);

  EXPECT_EQ(SetFilePointer(h, 4, nullptr, FILE_BEGIN), 4u);
  EXPECT_TRUE(SetEndOfFile(h));
  DWORD sizeHigh = 7;
  EXPECT_EQ(GetFileSize(h, &sizeHigh), 4u);
  EXPECT_EQ(sizeHigh, 0u);
  EXPECT_EQ(root_.ReadBytes("Temp/p.bin"), "0123");
  CloseHandle(h);
}

TEST_F(FileTest, AnsiNamesAreCodePage932) {
  // "\Temp\日本.txt" in code page 932.
  const char name[] = "\\Temp\\\x93\xfa\x96\x7b.txt";
  HANDLE h = CreateFileA(name, GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  CloseHandle(h);
  EXPECT_TRUE(std::filesystem::exists(root_.Host("Temp/日本.txt")));
  EXPECT_EQ(GetFileAttributesA(name), DWORD{FILE_ATTRIBUTE_ARCHIVE});
  EXPECT_TRUE(DeleteFileA(name));
}

TEST_F(FileTest, AttributesOfFoldersAndMissingNames) {
  EXPECT_EQ(GetFileAttributesW(u"\\"), DWORD{FILE_ATTRIBUTE_DIRECTORY});
  EXPECT_EQ(GetFileAttributesW(u"\\windows"), DWORD{FILE_ATTRIBUTE_DIRECTORY});
  struct Case {
    LPCWSTR path;
    DWORD error;
  } const cases[] = {
      {u"\\Temp\\TarnDBG", ERROR_FILE_NOT_FOUND},
      {u"\\Nowhere\\TarnDBG", ERROR_PATH_NOT_FOUND},
      {nullptr, ERROR_PATH_NOT_FOUND},
  };
  for (const Case& c : cases) {
    SetLastError(kMarker);
    EXPECT_EQ(GetFileAttributesW(c.path), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetLastError(), c.error);
  }
}

TEST_F(FileTest, FoldersAndRenames) {
  EXPECT_TRUE(CreateDirectoryW(u"\\Temp\\Sub", nullptr));
  SetLastError(kMarker);
  EXPECT_FALSE(CreateDirectoryW(u"\\temp\\sub", nullptr));
  EXPECT_EQ(GetLastError(), DWORD{ERROR_ALREADY_EXISTS});
  SetLastError(kMarker);
  EXPECT_FALSE(CreateDirectoryW(u"\\No\\Sub", nullptr));
  EXPECT_EQ(GetLastError(), DWORD{ERROR_PATH_NOT_FOUND});

  root_.WriteBytes("Temp/Sub/a.txt", "a");
  root_.WriteBytes("Temp/b.txt", "b");
  SetLastError(kMarker);
  EXPECT_FALSE(RemoveDirectoryW(u"\\Temp\\Sub"));
  EXPECT_EQ(GetLastError(), DWORD{ERROR_DIR_NOT_EMPTY});
  SetLastError(kMarker);
  EXPECT_FALSE(MoveFileW(u"\\Temp\\b.txt", u"\\Temp\\Sub\\A.TXT"));
  EXPECT_EQ(GetLastError(), DWORD{ERROR_ALREADY_EXISTS});
  EXPECT_EQ(root_.ReadBytes("Temp/Sub/a.txt"), "a");

  SetLastError(kMarker);
  EXPECT_FALSE(CopyFileW(u"\\Temp\\b.txt", u"\\Temp\\Sub\\a.txt", TRUE));
  EXPECT_EQ(GetLastError(), DWORD{ERROR_FILE_EXISTS});
  // Copying a file onto itself must not cut it before reading.
  SetLastError(kMarker);
  EXPECT_FALSE(CopyFileW(u"\\Temp\\b.txt", u"\\TEMP\\B.TXT", FALSE));
  EXPECT_EQ(GetLastError(), DWORD{ERROR_SHARING_VIOLATION});
  EXPECT_EQ(root_.ReadBytes("Temp/b.txt"), "b");
  EXPECT_TRUE(CopyFileW(u"\\Temp\\b.txt", u"\\Temp\\Sub\\a.txt", FALSE));
  EXPECT_EQ(root_.ReadBytes("Temp/Sub/a.txt"), "b");

  EXPECT_TRUE(MoveFileW(u"\\Temp\\b.txt", u"\\Temp\\Sub\\c.txt"));
  EXPECT_EQ(root_.ReadBytes("Temp/Sub/c.txt"), "b");
  SetLastError(kMarker);
  EXPECT_FALSE(DeleteFileW(u"\\Temp\\b.txt"));
  EXPECT_EQ(GetLastError(), DWORD{ERROR_FILE_NOT_FOUND});
  SetLastError(kMarker);
  EXPECT_FALSE(DeleteFileW(u"\\Temp\\Sub"));
  EXPECT_EQ(GetLastError(), DWORD{ERROR_ACCESS_DENIED});

  EXPECT_TRUE(DeleteFileW(u"\\Temp\\Sub\\a.txt"));
  EXPECT_TRUE(DeleteFileW(u"\\Temp\\Sub\\c.txt"));
  EXPECT_TRUE(RemoveDirectoryW(u"\\Temp\\Sub"));
  EXPECT_FALSE(std::filesystem::exists(root_.Host("Temp/Sub")));
}

std::vector<std::u16string> FindAll(LPCWSTR pattern) {
  std::vector<std::u16string> names;
  WIN32_FIND_DATAW data;
  HANDLE search = FindFirstFileW(pattern, &data);
  if (search == INVALID_HANDLE_VALUE) {
    return names;
  }
  do {
    names.emplace_back(data.cFileName);
  } while (FindNextFileW(search, &data));
  EXPECT_EQ(GetLastError(), DWORD{ERROR_NO_MORE_FILES});
  EXPECT_TRUE(FindClose(search));
  std::sort(names.begin(), names.end());
  return names;
}

TEST_F(FileTest, FindFilesByPattern) {
  root_.MakeFolder("Data/Sub");
  root_.WriteBytes("Data/a.log", "12345");
  root_.WriteBytes("Data/B.LOG", "");
  root_.WriteBytes("Data/c.txt", "");
  root_.WriteBytes("Data/readme", "");
  using Names = std::vector<std::u16string>;
  struct Case {
    LPCWSTR pattern;
    Names names;
  } const cases[] = {
      {u"\\Data\\*.log", {u"B.LOG", u"a.log"}},
      {u"\\data\\*", {u"B.LOG", u"Sub", u"a.log", u"c.txt", u"readme"}},
      {u"\\Data\\*.*", {u"B.LOG", u"Sub", u"a.log", u"c.txt", u"readme"}},
      {u"\\Data\\?.*", {u"B.LOG", u"a.log", u"c.txt"}},
      {u"\\Data\\A.LOG", {u"a.log"}},
      {u"\\Data\\*e*", {u"readme"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "case " << (&c - cases));
    EXPECT_EQ(FindAll(c.pattern), c.names);
  }

  WIN32_FIND_DATAW data;
  HANDLE search = FindFirstFileW(u"\\Data\\a.log", &data);
  ASSERT_NE(search, INVALID_HANDLE_VALUE);
  EXPECT_EQ(data.nFileSizeLow, 5u);
  EXPECT_EQ(data.dwFileAttributes, DWORD{FILE_ATTRIBUTE_ARCHIVE});
  SetLastError(kMarker);
  EXPECT_FALSE(ReadFile(search, nullptr, 0, nullptr, nullptr));  // not a file handle
  EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_HANDLE});
  EXPECT_TRUE(FindClose(search));
  SetLastError(kMarker);
  EXPECT_FALSE(FindClose(search));
  EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_HANDLE});

  struct Miss {
    LPCWSTR pattern;
    DWORD error;
  } const misses[] = {
      {u"\\Data\\*.bmp", ERROR_FILE_NOT_FOUND},
      {u"\\Nowhere\\*", ERROR_PATH_NOT_FOUND},
  };
  for (const Miss& m : misses) {
    SetLastError(kMarker);
    EXPECT_EQ(FindFirstFileW(m.pattern, &data), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), m.error);
  }
}

}  // namespace
