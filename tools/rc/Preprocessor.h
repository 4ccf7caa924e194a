// The script's preprocessor: #include, #define (object-like macros), #undef, the
// conditionals, #pragma code_page and #error. Its output is the script's tokens with macros
// expanded. Included headers (.h, .hpp, .c) contribute only their directives, as they do for
// the platform's compiler, so a resource.h shared with C++ code is fine.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "SourceReader.h"
#include "Token.h"

namespace vela::rc {

class Preprocessor {
 public:
  explicit Preprocessor(std::vector<std::string> includeFolders);

  // NAME or NAME=value from the command line.
  void Define(const std::string& definition);
  std::vector<Token> Run(const std::string& path);
  // Every file read, for the build's dependency list.
  const std::vector<std::string>& FilesRead() const { return filesRead_; }

 private:
  struct Macro {
    bool functionLike = false;
    bool broken = false;  // a body that is no valid token sequence
    std::vector<Token> body;
    SourceLocation where;
  };
  struct Conditional {
    bool parentActive;
    bool active;
    bool taken;
    bool sawElse;
    SourceLocation where;
  };

  void ProcessFile(SourceReader& reader, bool directivesOnly, int depth);
  void Directive(SourceReader& reader, std::u16string_view text, const SourceLocation& where,
                 int depth);
  void Include(std::u16string_view argument, const SourceLocation& where, int depth);
  void DefineFromText(std::u16string_view text, const SourceLocation& where);
  bool EvaluateCondition(std::u16string_view text, const SourceLocation& where);
  void Expand(const std::vector<Token>& in, std::vector<Token>* out, std::set<std::string>* active,
              const SourceLocation* useSite);
  bool Active() const { return conditionals_.empty() || conditionals_.back().active; }

  std::vector<std::string> includeFolders_;
  std::map<std::string, Macro> macros_;
  std::vector<Conditional> conditionals_;
  std::vector<Token> output_;
  bool builtinsRead_ = false;
  std::vector<std::string> filesRead_;
};

}  // namespace vela::rc
