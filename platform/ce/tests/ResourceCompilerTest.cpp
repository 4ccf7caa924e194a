// vela-rc on good scripts (checked through the platform's own reader of the compiled form)
// and on bad ones (a message naming file and line, no output left behind).
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "ResourceCompilerTestSupport.h"

namespace {

using vela::resources::NumberId;
using vela::resources::ResourceDirectory;
using vela::testing::ResourceCompiler;

TEST_F(ResourceCompiler, Utf8ScriptWithHeaderConditionalsAndExpressions) {
  Write("ids.h",
        "// shared with C++ code: only the directives count\n"
        "#pragma once\n"
        "#define IDS_BASE 100\n"
        "#define IDS_NEXT (IDS_BASE + 1)\n"
        "#define APP_FUNCTION(x) ((x) * 2)\n"
        "int DeclaredForCxx(void);\n"
        "#define ALIAS IDS_NEXT\n");
  Write("good.rc",
        "#include \"ids.h\"\n"
        "#include <windows.h>\n"
        "/* a block comment\n"
        "   over lines */\n"
        "LANGUAGE LANG_JAPANESE, SUBLANG_DEFAULT\n"
        "STRINGTABLE\n"
        "BEGIN\n"
        "  IDS_BASE \"\xE8\xA1\xA8\xE7\xA4\xBA\"   // 表示\n"
        "  ALIAS, \"a \"\"quoted\"\" word\\tand a tab\"\n"
        "  IDS_BASE | 0x10 \"joined \" \"literals\"\n"
        "#if defined(EXTRA) && EXTRA > 1\n"
        "  200 \"extra\"\n"
        "#elif !defined(EXTRA)\n"
        "  200 \"plain\"\n"
        "#else\n"
        "  200 \"small extra\"\n"
        "#endif\n"
        "END\n"
        "STRINGTABLE LANGUAGE LANG_ENGLISH, SUBLANG_ENGLISH_US\n"
        "{\n"
        "  IDS_BASE \"display\"\n"
        "}\n");
  ASSERT_EQ(0, Compile("good.rc")) << output_;
  ResourceDirectory compiled = Compiled();
  EXPECT_EQ(u"\u8868\u793A", StringOf(compiled, 100, 0x0411));
  EXPECT_EQ(u"a \"quoted\" word\tand a tab", StringOf(compiled, 101, 0x0411));
  EXPECT_EQ(u"joined literals", StringOf(compiled, 116, 0x0411));
  EXPECT_EQ(u"plain", StringOf(compiled, 200, 0x0411));
  EXPECT_EQ(u"display", StringOf(compiled, 100, 0x0409));
  EXPECT_EQ(u"(none)", StringOf(compiled, 101, 0x0409));

  ASSERT_EQ(0, Compile("good.rc", "-D EXTRA=2")) << output_;
  EXPECT_EQ(u"extra", StringOf(Compiled(), 200, 0x0411));
  ASSERT_EQ(0, Compile("good.rc", "-DEXTRA")) << output_;
  EXPECT_EQ(u"small extra", StringOf(Compiled(), 200, 0x0411));
}

TEST_F(ResourceCompiler, EncodingsAndDefaultLanguage) {
  // Code page 932 after the pragma: 表示 is 0x95 0x5C 0x8E 0xA6, its trail byte a backslash.
  // The editors' scripts set language and code page under #ifdef _WIN32.
  Write("cp932.rc",
        "#include \"winres.h\"\n#ifdef _WIN32\nLANGUAGE LANG_JAPANESE, SUBLANG_DEFAULT\n#pragma code_page(932)\n#endif\n"
        "STRINGTABLE BEGIN 1 \"\x95\x5C\x8E\xA6\" END\n");
  ASSERT_EQ(0, Compile("cp932.rc")) << output_;
  EXPECT_EQ(u"\u8868\u793A", StringOf(Compiled(), 1, 0x0411));

  // UTF-16 with its byte-order mark, and -l for resources before any LANGUAGE.
  const std::u16string text = u"STRINGTABLE\r\nBEGIN\r\n  2 L\"\u8868\"\r\nEND\r\n";
  std::string bytes = "\xFF\xFE";
  for (char16_t c : text) {
    bytes += static_cast<char>(c & 0xFF);
    bytes += static_cast<char>(c >> 8);
  }
  Write("utf16.rc", bytes);
  ASSERT_EQ(0, Compile("utf16.rc", "-l 0x411")) << output_;
  EXPECT_EQ(u"\u8868", StringOf(Compiled(), 2, 0x0411));
}

TEST_F(ResourceCompiler, NamedAndNumberedResourcesSortAndKeepTheirNames) {
  Write("named.rc",
        "VS_VERSION_INFO VERSIONINFO FILEVERSION 1,2 BEGIN END\n"
        "appVersion VERSIONINFO BEGIN BLOCK \"StringFileInfo\" BEGIN END END\n"
        "\"Quoted\" VERSIONINFO BEGIN END\n");
  ASSERT_EQ(0, Compile("named.rc")) << output_;
  ResourceDirectory compiled = Compiled();
  ASSERT_EQ(3u, compiled.entries().size());
  EXPECT_TRUE(vela::resources::NameMatches(compiled.entries()[0], NumberId(1)));
  EXPECT_TRUE(vela::resources::NameMatches(compiled.entries()[1], vela::resources::IdFromPointer(u"APPversion")));
  EXPECT_TRUE(vela::resources::NameMatches(compiled.entries()[2], vela::resources::IdFromPointer(u"quoted")));
  // FILEVERSION 1,2 leaves the low parts zero.
  uint32_t ms = 0, ls = 1;
  std::memcpy(&ms, compiled.entries()[0].data + 40 + 8, 4);
  std::memcpy(&ls, compiled.entries()[0].data + 40 + 12, 4);
  EXPECT_EQ(0x00010002u, ms);
  EXPECT_EQ(0u, ls);
}

TEST_F(ResourceCompiler, BadScriptsNameFileAndLine) {
  Write("broken.h", "#define OK 1\n#if OK\n");
  Write("function.h", "#define F(x) x\n");
  struct Case {
    const char* name;
    const char* script;
    const char* where;    // file:line the message starts with
    const char* message;  // part of the message
  };
  const Case cases[] = {
      {"unclosed_string.rc", "STRINGTABLE\nBEGIN\n  1 \"abc\nEND\n", "unclosed_string.rc:3", "not closed"},
      {"undefined_symbol.rc", "STRINGTABLE\nBEGIN\n  IDS_NOPE \"x\"\nEND\n", "undefined_symbol.rc:3", "undefined symbol 'IDS_NOPE'"},
      {"duplicate_id.rc", "STRINGTABLE\nBEGIN\n 1 \"a\"\n 1 \"b\"\nEND\n", "duplicate_id.rc:4", "already defined at"},
      {"cursor.rc", "\n1 CURSOR \"arrow.cur\"\n", "cursor.rc:2", "CURSOR resources are not supported"},
      {"unknown_type.rc", "1 WIDGET \"x\"\n", "unknown_type.rc:1", "not a resource type"},
      {"missing_include.rc", "\n\n#include \"nothere.h\"\n", "missing_include.rc:3", "cannot open include file 'nothere.h'"},
      {"header_error.rc", "#include \"broken.h\"\n", "broken.h:2", "#if without #endif"},
      {"function_macro.rc", "#include \"function.h\"\nSTRINGTABLE BEGIN F(1) \"x\" END\n", "function_macro.rc:2", "takes arguments"},
      {"cp932_without_pragma.rc", "STRINGTABLE BEGIN\n1 \"\x95\x5C\"\nEND\n", "cp932_without_pragma.rc:2", "code_page(932)"},
      {"error_directive.rc", "#ifndef NEEDED\n#error NEEDED is not set\n#endif\n", "error_directive.rc:2", "#error NEEDED is not set"},
      {"no_end.rc", "STRINGTABLE\nBEGIN\n 1 \"a\"\n", "no_end.rc:1", "without END"},
      {"version_typo.rc", "1 VERSIONINFO\n FILEVERSON 1,0,0,1\nBEGIN\nEND\n", "version_typo.rc:2", "'FILEVERSON' is not a VERSIONINFO statement"},
      {"version_no_end.rc", "1 VERSIONINFO\nBEGIN\n BLOCK \"StringFileInfo\"\n BEGIN\n", "version_no_end.rc:4", "BEGIN without END"},
      {"value_without_key.rc", "1 VERSIONINFO\nBEGIN\n VALUE 12\nEND\n", "value_without_key.rc:3", "needs a quoted key"},
      {"id_out_of_range.rc", "STRINGTABLE BEGIN\n 70000 \"x\"\nEND\n", "id_out_of_range.rc:2", "out of range"},
      {"else_without_if.rc", "\n#else\n", "else_without_if.rc:2", "#else without #if"},
      {"division_by_zero.rc", "STRINGTABLE BEGIN\n 1/0 \"x\"\nEND\n", "division_by_zero.rc:2", "division by zero"},
      {"bad_code_page.rc", "#pragma code_page(1252)\n", "bad_code_page.rc:1", "code_page"},
      {"unknown_directive.rc", "#frobnicate\n", "unknown_directive.rc:1", "unknown directive"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Write(c.name, c.script);
    std::filesystem::remove(folder_ + "/out.cpp");
    EXPECT_EQ(1, Compile(c.name));
    const std::string prefix = folder_ + "/" + c.where + ": error: ";
    EXPECT_EQ(0u, output_.find(prefix)) << output_;
    EXPECT_NE(std::string::npos, output_.find(c.message)) << output_;
    EXPECT_FALSE(std::filesystem::exists(folder_ + "/out.cpp")) << "no output after an error";
  }
}

TEST_F(ResourceCompiler, DependencyFileListsEveryFileRead) {
  Write("a.h", "#include \"b.h\"\n");
  Write("b.h", "#define X 1\n");
  Write("deps.rc", "#include \"a.h\"\nSTRINGTABLE BEGIN X \"x\" END\n");
  ASSERT_EQ(0, Compile("deps.rc", "--depfile " + folder_ + "/out.d")) << output_;
  std::ifstream in(folder_ + "/out.d");
  const std::string rule((std::istreambuf_iterator<char>(in)), {});
  EXPECT_EQ(0u, rule.find(folder_ + "/out.cpp:"));
  for (const char* file : {"deps.rc", "a.h", "b.h"}) {
    EXPECT_NE(std::string::npos, rule.find(folder_ + "/" + file)) << rule;
  }
}

}  // namespace
