// vela-rc's ICON and BITMAP statements: the compiled bytes against the platform's layouts
// (GRPICONDIR, RT_ICON images, a bitmap file without its file header), and bad image files.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "ResourceCompilerTestSupport.h"

namespace {

using vela::testing::ResourceCompiler;

const std::string kImages = std::string(VELA_TEST_DATA) + "/images";

std::string ReadData(const std::string& name) {
  std::ifstream in(kImages + "/" + name, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), {});
}

std::vector<uint8_t> Slice(const std::string& bytes, size_t at, size_t size) {
  return std::vector<uint8_t>(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                              bytes.begin() + static_cast<std::ptrdiff_t>(at + size));
}

constexpr uint16_t kBitmap = 2, kIcon = 3, kGroupIcon = 14;

TEST_F(ResourceCompiler, IconFilesBecomeGroupsAndNumberedImages) {
  Write("icons.rc",
        "LANGUAGE 0x11, 0x1\n"
        "5 ICON \"app.ico\"\n"
        "6 ICON DISCARDABLE \"alpha.ico\"\n");
  ASSERT_EQ(0, Compile("icons.rc", "-I " + kImages)) << output_;

  // 16 x 16 at 4 bits: header 40, 16 colours 64, rows 16 x 8, mask rows 16 x 4 = 296 bytes;
  // 32 x 32: 40 + 64 + 32 x 16 + 32 x 4 = 744 bytes. Images get ids 1 and 2.
  const std::vector<uint8_t> group{0, 0, 1, 0, 2, 0,
                                   16, 16, 16, 0, 1, 0, 4, 0, 0x28, 0x01, 0, 0, 1, 0,
                                   32, 32, 16, 0, 1, 0, 4, 0, 0xE8, 0x02, 0, 0, 2, 0};
  EXPECT_EQ(group, BytesOf(kGroupIcon, 5, 0x0411));
  // The images are the file's own bytes: the first after the 6 + 2 x 16 byte directory.
  const std::string app = ReadData("app.ico");
  EXPECT_EQ(Slice(app, 38, 296), BytesOf(kIcon, 1, 0x0411));
  EXPECT_EQ(Slice(app, 38 + 296, 744), BytesOf(kIcon, 2, 0x0411));

  // The next icon's image continues the module's numbering: 8 x 8 at 32 bits is
  // 40 + 8 x 32 + 8 x 4 = 328 bytes.
  const std::vector<uint8_t> alphaGroup{0, 0, 1, 0, 1, 0, 8, 8, 0, 0, 1, 0, 32, 0, 0x48, 0x01, 0, 0, 3, 0};
  EXPECT_EQ(alphaGroup, BytesOf(kGroupIcon, 6, 0x0411));
  EXPECT_EQ(Slice(ReadData("alpha.ico"), 22, 328), BytesOf(kIcon, 3, 0x0411));
  EXPECT_TRUE(BytesOf(kIcon, 4, 0x0411).empty());
}

TEST_F(ResourceCompiler, IconDirectoryWithoutDepthTakesItFromTheImage) {
  // Editors often leave planes and bit count of the file's directory at zero.
  std::string ico = ReadData("alpha.ico");
  ico[10] = ico[11] = ico[12] = ico[13] = 0;
  Write("res/zero.ico", ico);
  Write("zero.rc", "1 ICON \"res\\\\zero.ico\"\n");
  ASSERT_EQ(0, Compile("zero.rc", "-l 0")) << output_;
  const std::vector<uint8_t> group = BytesOf(kGroupIcon, 1, 0);
  ASSERT_EQ(20u, group.size());
  EXPECT_EQ(1, group[10]);   // planes
  EXPECT_EQ(32, group[12]);  // bit count
}

TEST_F(ResourceCompiler, BitmapFilesLoseTheirFileHeader) {
  Write("bitmaps.rc",
        "#include <windows.h>\n"
        "LANGUAGE LANG_JAPANESE, SUBLANG_DEFAULT\n"
        "10 BITMAP \"four.bmp\"\n"
        "11 BITMAP \"eight.bmp\"\n"
        "12 BITMAP \"rgb24.bmp\"\n");
  ASSERT_EQ(0, Compile("bitmaps.rc", "-I " + kImages)) << output_;
  // 5 x 3: 4 bits: 40 + 16 x 4 + 3 x 4 = 116; 8 bits: 40 + 256 x 4 + 3 x 8 = 1088;
  // 24 bits: 40 + 3 x 16 = 88.
  const struct {
    uint16_t id;
    const char* file;
    size_t size;
  } cases[] = {{10, "four.bmp", 116}, {11, "eight.bmp", 1088}, {12, "rgb24.bmp", 88}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    const std::string file = ReadData(c.file);
    ASSERT_EQ(14 + c.size, file.size());
    EXPECT_EQ(Slice(file, 14, c.size), BytesOf(kBitmap, c.id, 0x0411));
  }
}

TEST_F(ResourceCompiler, BitmapRowsFollowTheColourTableEvenWhenTheFileLeavesAGap) {
  // rgb24.bmp with 6 bytes of padding between header and rows, as some tools write.
  std::string bmp = ReadData("rgb24.bmp");
  bmp.insert(54, "\xAA\xAA\xAA\xAA\xAA\xAA", 6);
  bmp[10] = 60;
  Write("gap.bmp", bmp);
  Write("gap.rc", "1 BITMAP \"gap.bmp\"\n");
  ASSERT_EQ(0, Compile("gap.rc")) << output_;
  const std::string plain = ReadData("rgb24.bmp");
  EXPECT_EQ(Slice(plain, 14, plain.size() - 14), BytesOf(kBitmap, 1, 0x0409));
}

TEST_F(ResourceCompiler, BadImageFilesAreReportedAtTheStatement) {
  std::string cursor = ReadData("app.ico");
  cursor[2] = 2;
  Write("arrow.ico", cursor);
  std::string directoryCut = ReadData("app.ico").substr(0, 20);
  Write("short.ico", directoryCut);
  Write("text.bmp", "this is no bitmap");
  std::string deep = ReadData("rgb24.bmp");
  deep[14 + 14] = 2;  // 2 bits per pixel
  Write("deep.bmp", deep);
  struct Case {
    const char* script;
    const char* where;
    const char* message;
  };
  const Case cases[] = {
      {"\n1 ICON \"nothere.ico\"\n", "bad.rc:2", "cannot open file 'nothere.ico'"},
      {"1 ICON \"truncated.ico\"\n", "bad.rc:1", "image 2 is truncated"},
      {"\n\n1 ICON \"short.ico\"\n", "bad.rc:3", "truncated: its directory"},
      {"1 ICON \"arrow.ico\"\n", "bad.rc:1", "is a cursor"},
      {"1 ICON \"four.bmp\"\n", "bad.rc:1", "is no icon file"},
      {"1 BITMAP \"rle8.bmp\"\n", "bad.rc:1", "uses RLE8; only uncompressed"},
      {"1 BITMAP \"text.bmp\"\n", "bad.rc:1", "is no bitmap file"},
      {"1 BITMAP \"deep.bmp\"\n", "bad.rc:1", "2 bits per pixel"},
      {"1 BITMAP app\n", "bad.rc:1", "needs a quoted file name"},
      {"1 ICON \"app.ico\"\n1 ICON \"app.ico\"\n", "bad.rc:2", "already defined"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.script);
    Write("bad.rc", c.script);
    EXPECT_EQ(1, Compile("bad.rc", "-I " + kImages));
    EXPECT_EQ(0u, output_.find(folder_ + "/" + c.where + ": error: ")) << output_;
    EXPECT_NE(std::string::npos, output_.find(c.message)) << output_;
  }
}

TEST_F(ResourceCompiler, ImageFilesAreDependencies) {
  Write("deps.rc", "1 ICON \"app.ico\"\n2 BITMAP \"four.bmp\"\n");
  ASSERT_EQ(0, Compile("deps.rc", "-I " + kImages + " --depfile " + folder_ + "/out.d")) << output_;
  std::ifstream in(folder_ + "/out.d");
  const std::string rule((std::istreambuf_iterator<char>(in)), {});
  EXPECT_NE(std::string::npos, rule.find(kImages + "/app.ico")) << rule;
  EXPECT_NE(std::string::npos, rule.find(kImages + "/four.bmp")) << rule;
}

}  // namespace
