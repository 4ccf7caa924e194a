#include "ScriptParser.h"

#include <algorithm>

#include "Expression.h"
#include "VersionInfoWriter.h"

namespace vela::rc {
namespace {

constexpr uint16_t kTypeString = 6;
constexpr uint16_t kTypeVersion = 16;

std::string Utf8(std::u16string_view text) {
  std::string out;
  for (char16_t c : text) {
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

std::u16string Upper(std::u16string text) {
  for (char16_t& c : text) {
    if (c >= u'a' && c <= u'z') {
      c = static_cast<char16_t>(c - 0x20);
    }
  }
  return text;
}

// Types the platform's compiler knows and this one does not compile yet.
const char* const kLaterTypes[] = {"CURSOR", "MENU",
                                   "MENUEX", "ACCELERATORS", "RCDATA", "FONT", "MESSAGETABLE",
                                   "HTML", "TOOLBAR", "DLGINIT", "TEXTINCLUDE", "DESIGNINFO",
                                   "AVI", "PNG"};

// Memory options of old scripts; they change nothing.
bool IsMemoryOption(const Token& t) {
  return t.IsKeyword("DISCARDABLE") || t.IsKeyword("PURE") || t.IsKeyword("IMPURE") ||
         t.IsKeyword("MOVEABLE") || t.IsKeyword("FIXED") || t.IsKeyword("PRELOAD") ||
         t.IsKeyword("LOADONCALL") || t.IsKeyword("SHARED") || t.IsKeyword("NONSHARED");
}

}  // namespace

std::string ResourceName::Describe() const {
  return isNumber ? std::to_string(number) : "\"" + Utf8(name) + "\"";
}

ScriptParser::ScriptParser(std::vector<Token> tokens, uint16_t defaultLanguage, ExternalFiles* files)
    : tokens_(std::move(tokens)), files_(files), language_(defaultLanguage) {}

const Token& ScriptParser::Next(const char* what) {
  if (pos_ >= tokens_.size()) {
    const SourceLocation where = tokens_.empty() ? SourceLocation{} : tokens_.back().where;
    throw RcError(where, std::string("unexpected end of script; ") + what + " expected");
  }
  return tokens_[pos_++];
}

bool ScriptParser::PeekIsBegin() const {
  const Token* t = Peek();
  return t && (t->IsKeyword("BEGIN") || t->IsPunct("{"));
}

bool ScriptParser::PeekIsEnd() const {
  const Token* t = Peek();
  return t && (t->IsKeyword("END") || t->IsPunct("}"));
}

const Token& ScriptParser::ExpectBegin(const char* what) {
  const Token& t = Next("BEGIN");
  if (!(t.IsKeyword("BEGIN") || t.IsPunct("{"))) {
    throw RcError(t.where, std::string("BEGIN expected ") + what + ", not '" + t.text + "'");
  }
  return t;
}

int64_t ScriptParser::Number(const char* what, bool* isLong) {
  if (pos_ >= tokens_.size()) {
    Next(what);
  }
  ExpressionParser parser(tokens_, &pos_, IdentifierRule::Error);
  const Value value = parser.ParseResourceExpression();
  if (isLong) {
    *isLong = value.isLong;
  }
  return value.number;
}

void ScriptParser::SkipMemoryOptions() {
  while (Peek() && IsMemoryOption(*Peek())) {
    ++pos_;
  }
}

bool ScriptParser::SkipComma() {
  if (Peek() && Peek()->IsPunct(",")) {
    ++pos_;
    return true;
  }
  return false;
}

uint16_t ScriptParser::LanguageArguments() {
  const int64_t primary = Number("a language");
  const Token& comma = Next("','");
  if (!comma.IsPunct(",")) {
    throw RcError(comma.where, "LANGUAGE takes a language and a sublanguage, separated by a comma");
  }
  const int64_t sub = Number("a sublanguage");
  if (primary < 0 || primary > 0x3FF || sub < 0 || sub > 0x3F) {
    throw RcError(comma.where, "LANGUAGE values out of range");
  }
  return static_cast<uint16_t>((sub << 10) | primary);
}

ResourceName ScriptParser::NameOf(const Token& token) {
  if (token.kind == TokenKind::Identifier) {
    return ResourceName{false, 0, Upper(std::u16string(token.text.begin(), token.text.end()))};
  }
  if (token.kind == TokenKind::String) {
    if (token.value.empty()) {
      throw RcError(token.where, "a resource name must not be empty");
    }
    return ResourceName{false, 0, Upper(token.value)};
  }
  --pos_;
  const int64_t n = Number("a resource name or number");
  if (n < 0 || n > 0xFFFF) {
    throw RcError(token.where, "resource number " + std::to_string(n) + " is out of range 0-65535");
  }
  return ResourceName::Number(static_cast<uint16_t>(n));
}

void ScriptParser::Add(Resource resource) {
  for (const Resource& existing : resources_) {
    if (existing.type == resource.type && existing.name == resource.name &&
        existing.language == resource.language) {
      throw RcError(resource.where, "resource " + resource.name.Describe() +
                                        " of this type and language is already defined at " +
                                        existing.where.ToString());
    }
  }
  resources_.push_back(std::move(resource));
}

std::vector<Resource> ScriptParser::Parse() {
  while (const Token* t = Peek()) {
    const Token& token = Next("a statement");
    if (token.IsKeyword("LANGUAGE")) {
      language_ = LanguageArguments();
      continue;
    }
    if (token.IsKeyword("STRINGTABLE")) {
      StringTable(token);
      continue;
    }
    if (token.IsKeyword("CHARACTERISTICS") || token.IsKeyword("VERSION")) {
      Number("a number");
      continue;
    }
    (void)t;
    const ResourceName name = NameOf(token);
    const Token& type = Next("a resource type");
    if (type.IsKeyword("VERSIONINFO")) {
      VersionInfo(name, type);
      continue;
    }
    if (type.IsKeyword("ICON")) {
      Icon(name, type);
      continue;
    }
    if (type.IsKeyword("BITMAP")) {
      Bitmap(name, type);
      continue;
    }
    if (type.IsKeyword("DIALOG") || type.IsKeyword("DIALOGEX")) {
      Dialog(name, type, type.IsKeyword("DIALOGEX"));
      continue;
    }
    for (const char* later : kLaterTypes) {
      if (type.IsKeyword(later)) {
        throw RcError(type.where, std::string(later) + " resources are not supported by this compiler yet");
      }
    }
    throw RcError(type.where, "'" + (type.kind == TokenKind::String ? Utf8(type.value) : type.text) +
                                  "' is not a resource type this compiler knows");
  }
  std::vector<Resource> all = resources_;
  for (Resource& table : StringTableResources()) {
    all.push_back(std::move(table));
  }
  return all;
}

void ScriptParser::StringTable(const Token& keyword) {
  uint16_t language = language_;
  while (!PeekIsBegin()) {
    const Token& option = Next("BEGIN");
    if (option.IsKeyword("LANGUAGE")) {
      language = LanguageArguments();
    } else if (option.IsKeyword("CHARACTERISTICS") || option.IsKeyword("VERSION")) {
      Number("a number");
    } else if (!IsMemoryOption(option)) {
      throw RcError(option.where, "BEGIN expected after STRINGTABLE, not '" + option.text + "'");
    }
  }
  ExpectBegin("after STRINGTABLE");
  auto& table = strings_[language];
  while (Peek() && !PeekIsEnd()) {
    const Token& first = Next("a string id or END");
    --pos_;
    const int64_t id = Number("a string id");
    if (id < 0 || id > 0xFFFF) {
      throw RcError(first.where, "string id " + std::to_string(id) + " is out of range 0-65535");
    }
    SkipComma();
    const Token& text = Next("a string");
    if (text.kind != TokenKind::String) {
      throw RcError(text.where, "a quoted string expected after string id " + std::to_string(id));
    }
    std::u16string value = text.value;
    // Adjacent literals join, as in C.
    while (Peek() && Peek()->kind == TokenKind::String) {
      value += Next("a string").value;
    }
    if (value.size() > 0xFFFF) {
      throw RcError(text.where, "string " + std::to_string(id) + " is longer than 65535 characters");
    }
    auto [it, added] = table.try_emplace(static_cast<uint16_t>(id), TableString{value, first.where});
    if (!added) {
      throw RcError(first.where, "string id " + std::to_string(id) + " is already defined at " +
                                     it->second.where.ToString());
    }
  }
  if (!Peek()) {
    throw RcError(keyword.where, "STRINGTABLE without END");
  }
  ++pos_;
}

std::vector<Resource> ScriptParser::StringTableResources() const {
  std::vector<Resource> out;
  for (const auto& [language, table] : strings_) {
    std::map<uint16_t, std::vector<const std::pair<const uint16_t, TableString>*>> blocks;
    for (const auto& entry : table) {
      blocks[static_cast<uint16_t>(entry.first / 16 + 1)].push_back(&entry);
    }
    for (const auto& [block, entries] : blocks) {
      Resource resource;
      resource.type = ResourceName::Number(kTypeString);
      resource.name = ResourceName::Number(block);
      resource.language = language;
      resource.where = entries.front()->second.where;
      size_t next = 0;
      for (size_t index = 0; index < 16; ++index) {
        const std::u16string* text = nullptr;
        if (next < entries.size() && entries[next]->first % 16 == index) {
          text = &entries[next++]->second.text;
        }
        const size_t length = text ? text->size() : 0;
        resource.data.push_back(static_cast<uint8_t>(length));
        resource.data.push_back(static_cast<uint8_t>(length >> 8));
        for (size_t i = 0; i < length; ++i) {
          resource.data.push_back(static_cast<uint8_t>((*text)[i]));
          resource.data.push_back(static_cast<uint8_t>((*text)[i] >> 8));
        }
      }
      out.push_back(std::move(resource));
    }
  }
  return out;
}

void ScriptParser::VersionInfo(const ResourceName& name, const Token& keyword) {
  FixedFileInfo fixed;
  auto versionPair = [this](const Token& statement, uint32_t* ms, uint32_t* ls) {
    uint32_t parts[4] = {0, 0, 0, 0};
    for (int i = 0; i < 4; ++i) {
      const int64_t part = Number("a version number");
      if (part < 0 || part > 0xFFFF) {
        throw RcError(statement.where, statement.text + " parts must lie in 0-65535");
      }
      parts[i] = static_cast<uint32_t>(part);
      if (!SkipComma()) {
        break;
      }
    }
    *ms = (parts[0] << 16) | parts[1];
    *ls = (parts[2] << 16) | parts[3];
  };
  while (!PeekIsBegin()) {
    const Token& statement = Next("BEGIN");
    auto dword = [this] { return static_cast<uint32_t>(Number("a number")); };
    if (statement.IsKeyword("FILEVERSION")) {
      versionPair(statement, &fixed.fileVersionMS, &fixed.fileVersionLS);
    } else if (statement.IsKeyword("PRODUCTVERSION")) {
      versionPair(statement, &fixed.productVersionMS, &fixed.productVersionLS);
    } else if (statement.IsKeyword("FILEFLAGSMASK")) {
      fixed.fileFlagsMask = dword();
    } else if (statement.IsKeyword("FILEFLAGS")) {
      fixed.fileFlags = dword();
    } else if (statement.IsKeyword("FILEOS")) {
      fixed.fileOS = dword();
    } else if (statement.IsKeyword("FILETYPE")) {
      fixed.fileType = dword();
    } else if (statement.IsKeyword("FILESUBTYPE")) {
      fixed.fileSubtype = dword();
    } else if (!IsMemoryOption(statement)) {
      throw RcError(statement.where, "'" + statement.text + "' is not a VERSIONINFO statement");
    }
  }
  const Token& opener = ExpectBegin("after the VERSIONINFO statements");
  std::vector<VersionNode> blocks;
  VersionBlockBody(&blocks, opener);
  Resource resource;
  resource.type = ResourceName::Number(kTypeVersion);
  resource.name = name;
  resource.language = language_;
  resource.where = keyword.where;
  try {
    resource.data = WriteVersionInfo(fixed, blocks);
  } catch (const std::length_error&) {
    throw RcError(keyword.where, "VERSIONINFO is larger than 64 KB");
  }
  Add(std::move(resource));
}

// BLOCK "key" BEGIN ... END and VALUE "key", items, up to the END that closes the body.
void ScriptParser::VersionBlockBody(std::vector<VersionNode>* nodes, const Token& opener) {
  while (true) {
    if (!Peek()) {
      throw RcError(opener.where, "BEGIN without END");
    }
    if (PeekIsEnd()) {
      ++pos_;
      return;
    }
    const Token& statement = Next("BLOCK, VALUE or END");
    const bool isBlock = statement.IsKeyword("BLOCK");
    if (!isBlock && !statement.IsKeyword("VALUE")) {
      throw RcError(statement.where, "BLOCK, VALUE or END expected, not '" + statement.text + "'");
    }
    const Token& key = Next("a quoted key");
    if (key.kind != TokenKind::String) {
      throw RcError(key.where, std::string(isBlock ? "BLOCK" : "VALUE") + " needs a quoted key");
    }
    VersionNode node;
    node.key = key.value;
    node.isBlock = isBlock;
    if (isBlock) {
      const Token& inner = ExpectBegin("after BLOCK");
      VersionBlockBody(&node.children, inner);
      nodes->push_back(std::move(node));
      continue;
    }
    // Items: all strings make a text value; any number makes a binary one.
    std::vector<const Token*> strings;
    bool anyNumber = false;
    std::vector<uint8_t> binary;
    while (SkipComma() || (Peek() && Peek()->kind == TokenKind::String && !strings.empty())) {
      if (Peek() && Peek()->kind == TokenKind::String) {
        const Token& text = Next("a value");
        strings.push_back(&text);
        for (char16_t c : text.value) {
          binary.push_back(static_cast<uint8_t>(c));
          binary.push_back(static_cast<uint8_t>(c >> 8));
        }
        binary.push_back(0);
        binary.push_back(0);
        continue;
      }
      bool isLong = false;
      const uint32_t n = static_cast<uint32_t>(Number("a value", &isLong));
      anyNumber = true;
      const int bytes = isLong ? 4 : 2;
      for (int i = 0; i < bytes; ++i) {
        binary.push_back(static_cast<uint8_t>(n >> (8 * i)));
      }
    }
    if (anyNumber) {
      node.binary = std::move(binary);
    } else {
      node.isText = true;
      for (const Token* text : strings) {
        node.text += text->value;
      }
    }
    nodes->push_back(std::move(node));
  }
}

}  // namespace vela::rc
