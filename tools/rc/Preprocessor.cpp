#include "Preprocessor.h"

#include <strings.h>

#include <fstream>
#include <iterator>
#include <sstream>

#include "BuiltinHeaders.h"
#include "Expression.h"
#include "Lexer.h"

namespace vela::rc {
namespace {

constexpr int kMaxIncludeDepth = 64;

std::string Ascii(std::u16string_view text) {
  std::string out;
  for (char16_t c : text) {
    out += static_cast<char>(c < 0x80 ? c : '?');
  }
  return out;
}

std::u16string_view Trim(std::u16string_view text) {
  const size_t first = text.find_first_not_of(u" \t");
  if (first == std::u16string_view::npos) {
    return {};
  }
  const size_t last = text.find_last_not_of(u" \t");
  return text.substr(first, last - first + 1);
}

// Splits "name rest" into the leading identifier and what follows it.
std::u16string_view TakeWord(std::u16string_view* text) {
  *text = Trim(*text);
  size_t end = 0;
  while (end < text->size() && ((*text)[end] == u'_' || ((*text)[end] >= u'a' && (*text)[end] <= u'z') ||
                                ((*text)[end] >= u'A' && (*text)[end] <= u'Z') ||
                                ((*text)[end] >= u'0' && (*text)[end] <= u'9'))) {
    ++end;
  }
  std::u16string_view word = text->substr(0, end);
  text->remove_prefix(end);
  return word;
}

bool EndsWithIgnoringCase(const std::string& text, const char* suffix) {
  const size_t n = std::char_traits<char>::length(suffix);
  return text.size() >= n && strcasecmp(text.c_str() + text.size() - n, suffix) == 0;
}

bool IsHeaderFile(const std::string& path) {
  return EndsWithIgnoringCase(path, ".h") || EndsWithIgnoringCase(path, ".hpp") ||
         EndsWithIgnoringCase(path, ".hh") || EndsWithIgnoringCase(path, ".c");
}

bool ReadFile(const std::string& path, std::string* bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    return false;
  }
  bytes->assign(std::istreambuf_iterator<char>(in), {});
  return true;
}

std::string FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

}  // namespace

Preprocessor::Preprocessor(std::vector<std::string> includeFolders)
    : includeFolders_(std::move(includeFolders)) {
  SourceReader predefined("<built-in>", std::string(PredefinedMacros()));
  ProcessFile(predefined, true, 0);
}

void Preprocessor::Define(const std::string& definition) {
  const size_t equals = definition.find('=');
  std::string line = "#define " + definition.substr(0, equals) + " " +
                     (equals == std::string::npos ? std::string("1") : definition.substr(equals + 1));
  SourceReader reader("<command line>", line);
  ProcessFile(reader, true, 0);
}

std::vector<Token> Preprocessor::Run(const std::string& path) {
  std::string bytes;
  if (!ReadFile(path, &bytes)) {
    throw RcError("cannot open " + path);
  }
  filesRead_.push_back(path);
  SourceReader reader(path, std::move(bytes));
  ProcessFile(reader, false, 0);
  return std::move(output_);
}

void Preprocessor::ProcessFile(SourceReader& reader, bool directivesOnly, int depth) {
  const size_t conditionalDepth = conditionals_.size();
  bool inComment = false;
  std::u16string physical;
  SourceLocation where;
  while (reader.NextLine(&physical, &where)) {
    // A backslash at the end joins the next line.
    std::u16string logical = physical;
    SourceLocation start = where;
    while (!logical.empty() && logical.back() == u'\\') {
      logical.pop_back();
      if (!reader.NextLine(&physical, &where)) {
        break;
      }
      logical += physical;
    }
    const std::u16string text = StripComments(logical, &inComment);
    const std::u16string_view trimmed = Trim(text);
    if (!trimmed.empty() && trimmed.front() == u'#') {
      Directive(reader, trimmed.substr(1), start, depth);
      continue;
    }
    if (directivesOnly || !Active() || trimmed.empty()) {
      continue;
    }
    std::set<std::string> active;
    Expand(Tokenize(text, start), &output_, &active, nullptr);
  }
  if (conditionals_.size() > conditionalDepth) {
    throw RcError(conditionals_.back().where, "#if without #endif");
  }
}

void Preprocessor::Directive(SourceReader& reader, std::u16string_view text,
                             const SourceLocation& where, int depth) {
  std::u16string_view rest = text;
  const std::string name = Ascii(TakeWord(&rest));
  rest = Trim(rest);
  if (name == "if" || name == "ifdef" || name == "ifndef") {
    const bool parent = Active();
    bool value = false;
    if (parent) {
      if (name == "if") {
        value = EvaluateCondition(rest, where);
      } else {
        std::u16string_view macro = rest;
        const std::string word = Ascii(TakeWord(&macro));
        if (word.empty()) {
          throw RcError(where, "#" + name + " needs a macro name");
        }
        value = macros_.count(word) != 0;
        if (name == "ifndef") {
          value = !value;
        }
      }
    }
    conditionals_.push_back(Conditional{parent, parent && value, parent && value, false, where});
    return;
  }
  if (name == "elif" || name == "else" || name == "endif") {
    if (conditionals_.empty()) {
      throw RcError(where, "#" + name + " without #if");
    }
    Conditional& c = conditionals_.back();
    if (name == "endif") {
      conditionals_.pop_back();
      return;
    }
    if (c.sawElse) {
      throw RcError(where, "#" + name + " after #else");
    }
    if (name == "else") {
      c.sawElse = true;
      c.active = c.parentActive && !c.taken;
    } else {
      c.active = c.parentActive && !c.taken && EvaluateCondition(rest, where);
    }
    c.taken = c.taken || c.active;
    return;
  }
  if (!Active()) {
    return;
  }
  if (name == "include") {
    Include(rest, where, depth);
  } else if (name == "define") {
    DefineFromText(rest, where);
  } else if (name == "undef") {
    macros_.erase(Ascii(TakeWord(&rest)));
  } else if (name == "pragma") {
    std::u16string_view args = rest;
    if (Ascii(TakeWord(&args)) != "code_page") {
      return;  // other pragmas mean nothing here
    }
    args = Trim(args);
    const std::string value = Ascii(args);
    if (value == "(932)") {
      reader.SetCodePage(CodePage::Cp932);
    } else if (value == "(65001)" || strcasecmp(value.c_str(), "(DEFAULT)") == 0) {
      reader.SetCodePage(CodePage::Utf8);
    } else {
      throw RcError(where, "#pragma code_page" + value + ": only 932, 65001 and DEFAULT are known");
    }
  } else if (name == "error") {
    throw RcError(where, "#error " + Ascii(rest));
  } else if (name == "line" || name.empty()) {
    // Line markers and the null directive change nothing here.
  } else {
    throw RcError(where, "unknown directive #" + name);
  }
}

void Preprocessor::Include(std::u16string_view argument, const SourceLocation& where, int depth) {
  if (argument.size() < 2 || !((argument.front() == u'"' && argument.back() == u'"') ||
                               (argument.front() == u'<' && argument.back() == u'>'))) {
    throw RcError(where, "#include expects \"file\" or <file>");
  }
  const bool quoted = argument.front() == u'"';
  const std::string name = Ascii(argument.substr(1, argument.size() - 2));
  if (depth + 1 > kMaxIncludeDepth) {
    throw RcError(where, "#include nests too deeply (a header including itself?)");
  }
  if (IsBuiltinHeader(name)) {
    if (!builtinsRead_) {
      builtinsRead_ = true;
      SourceReader builtins("<built-in>", std::string(BuiltinDefinitions()));
      ProcessFile(builtins, true, depth + 1);
    }
    return;
  }
  std::vector<std::string> candidates;
  std::string relative = name;
  for (char& c : relative) {
    if (c == '\\') {
      c = '/';
    }
  }
  if (!relative.empty() && relative.front() == '/') {
    candidates.push_back(relative);
  } else {
    if (quoted) {
      candidates.push_back(FolderOf(*where.file) + "/" + relative);
    }
    for (const std::string& folder : includeFolders_) {
      candidates.push_back(folder + "/" + relative);
    }
  }
  for (const std::string& path : candidates) {
    std::string bytes;
    if (ReadFile(path, &bytes)) {
      filesRead_.push_back(path);
      SourceReader reader(path, std::move(bytes));
      ProcessFile(reader, IsHeaderFile(path), depth + 1);
      return;
    }
  }
  throw RcError(where, "cannot open include file '" + name + "'");
}

void Preprocessor::DefineFromText(std::u16string_view text, const SourceLocation& where) {
  std::u16string_view rest = text;
  const std::string name = Ascii(TakeWord(&rest));
  if (name.empty() || (name[0] >= '0' && name[0] <= '9')) {
    throw RcError(where, "#define needs a macro name");
  }
  Macro macro;
  macro.where = where;
  if (!rest.empty() && rest.front() == u'(') {
    macro.functionLike = true;
  } else {
    try {
      macro.body = Tokenize(rest, where);
    } catch (const RcError&) {
      // C headers define things a script never uses; complain only on use.
      macro.broken = true;
    }
  }
  macros_[name] = std::move(macro);
}

bool Preprocessor::EvaluateCondition(std::u16string_view text, const SourceLocation& where) {
  std::vector<Token> tokens = Tokenize(text, where);
  // defined X and defined(X) are answered before any expansion.
  std::vector<Token> resolved;
  for (size_t i = 0; i < tokens.size(); ++i) {
    if (tokens[i].kind == TokenKind::Identifier && tokens[i].text == "defined") {
      size_t at = i + 1;
      const bool parenthesised = at < tokens.size() && tokens[at].IsPunct("(");
      if (parenthesised) {
        ++at;
      }
      if (at >= tokens.size() || tokens[at].kind != TokenKind::Identifier) {
        throw RcError(where, "defined needs a macro name");
      }
      Token value = tokens[at];
      value.kind = TokenKind::Number;
      value.number = macros_.count(tokens[at].text) ? 1 : 0;
      value.text = value.number ? "1" : "0";
      if (parenthesised) {
        ++at;
        if (at >= tokens.size() || !tokens[at].IsPunct(")")) {
          throw RcError(where, "')' expected after defined(");
        }
      }
      resolved.push_back(value);
      i = at;
    } else {
      resolved.push_back(tokens[i]);
    }
  }
  std::vector<Token> expanded;
  std::set<std::string> active;
  Expand(resolved, &expanded, &active, nullptr);
  if (expanded.empty()) {
    throw RcError(where, "#if without an expression");
  }
  size_t pos = 0;
  ExpressionParser parser(expanded, &pos, IdentifierRule::Zero);
  const Value value = parser.Parse();
  if (pos != expanded.size()) {
    throw RcError(where, "unexpected '" + expanded[pos].text + "' in #if expression");
  }
  return value.number != 0;
}

void Preprocessor::Expand(const std::vector<Token>& in, std::vector<Token>* out,
                          std::set<std::string>* active, const SourceLocation* useSite) {
  for (const Token& token : in) {
    auto it = token.kind == TokenKind::Identifier ? macros_.find(token.text) : macros_.end();
    if (it == macros_.end() || active->count(token.text)) {
      out->push_back(token);
      if (useSite) {
        out->back().where = *useSite;
      }
      continue;
    }
    const SourceLocation& site = useSite ? *useSite : token.where;
    if (it->second.functionLike) {
      throw RcError(site, "macro '" + token.text + "' takes arguments, which scripts do not support");
    }
    if (it->second.broken) {
      throw RcError(site, "macro '" + token.text + "' (defined at " + it->second.where.ToString() +
                              ") is not a value a script can use");
    }
    active->insert(token.text);
    Expand(it->second.body, out, active, &site);
    active->erase(token.text);
  }
}

}  // namespace vela::rc
