// The statements of a resource script: LANGUAGE, STRINGTABLE and VERSIONINFO. Other resource
// types are recognised and refused with a clear message until they are implemented.
#pragma once

#include <map>
#include <vector>

#include "Resource.h"
#include "Token.h"

namespace vela::rc {

class ScriptParser {
 public:
  ScriptParser(std::vector<Token> tokens, uint16_t defaultLanguage);
  std::vector<Resource> Parse();

 private:
  struct TableString {
    std::u16string text;
    SourceLocation where;
  };

  void StringTable(const Token& keyword);
  void VersionInfo(const ResourceName& name, const Token& keyword);
  void VersionBlockBody(std::vector<struct VersionNode>* nodes, const Token& opener);
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
  size_t pos_ = 0;
  uint16_t language_;
  std::vector<Resource> resources_;
  std::map<uint16_t, std::map<uint16_t, TableString>> strings_;  // language -> id -> text
};

}  // namespace vela::rc
