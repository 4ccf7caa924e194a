// The statements of a resource script: LANGUAGE, STRINGTABLE, VERSIONINFO, ICON, BITMAP, DIALOG
// and DIALOGEX. Other resource types are recognised and refused with a clear message until they
// are implemented.
#pragma once

#include <map>
#include <vector>

#include "DialogTemplate.h"
#include "ExternalFiles.h"
#include "Resource.h"
#include "Token.h"

namespace vela::rc {

class ScriptParser {
 public:
  // files finds the .ico and .bmp files the script names; without it they are refused.
  ScriptParser(std::vector<Token> tokens, uint16_t defaultLanguage, ExternalFiles* files = nullptr);
  std::vector<Resource> Parse();

 private:
  struct TableString {
    std::u16string text;
    SourceLocation where;
  };

  void StringTable(const Token& keyword);
  void VersionInfo(const ResourceName& name, const Token& keyword);
  void VersionBlockBody(std::vector<struct VersionNode>* nodes, const Token& opener);
  void Icon(const ResourceName& name, const Token& keyword);
  void Bitmap(const ResourceName& name, const Token& keyword);
  std::string ReadNamedFile(const Token& keyword, std::string* path);
  void Dialog(const ResourceName& name, const Token& keyword, bool extended);
  void DialogStatements(const Token& keyword, DialogTemplate* dialog, uint16_t* language);
  DialogControl Control(const Token& keyword, bool extended);
  NameOrOrdinal ControlText(const char* what);
  NameOrOrdinal ControlClass();
  uint32_t Style(uint32_t defaults);
  int16_t Coordinate(const char* what);
  void SkipMemoryOptions();
  uint16_t LanguageArguments();
  ResourceName NameOf(const Token& token);
  void Add(Resource resource);
  std::vector<Resource> StringTableResources() const;

  const Token& Next(const char* what);
  const Token* Peek() const { return pos_ < tokens_.size() ? &tokens_[pos_] : nullptr; }
  bool PeekIsBegin() const;
  bool PeekIsEnd() const;
  const Token& ExpectBegin(const char* what);
  int64_t Number(const char* what, bool* isLong = nullptr);
  bool SkipComma();

  std::vector<Token> tokens_;
  ExternalFiles* files_;
  size_t pos_ = 0;
  uint16_t nextIconId_ = 1;  // RT_ICON ids of the module, handed out as icons are read
  uint16_t language_;
  std::vector<Resource> resources_;
  std::map<uint16_t, std::map<uint16_t, TableString>> strings_;  // language -> id -> text
};

}  // namespace vela::rc
