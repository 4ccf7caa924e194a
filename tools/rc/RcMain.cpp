// vela-rc: compiles a resource script (.rc) into a C++ source file that carries the module's
// resources.
//
//   vela-rc [-I folder]... [-D NAME[=value]]... [-l language] [--blob file] [--depfile file]
//           -o out.cpp script.rc
//
// -l gives the language of resources before the first LANGUAGE statement (default 0x0409);
// --depfile writes the files the script read, in make's syntax; --blob also writes the compiled resources as they are, for inspection and tests.
// Errors go to standard error as "file:line: error: message"; the exit status is then 1 and
// no output file is left behind.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "CppSourceWriter.h"
#include "ExternalFiles.h"
#include "Preprocessor.h"
#include "ResourceBlob.h"
#include "ScriptParser.h"

namespace {

struct Options {
  std::vector<std::string> includeFolders;
  std::vector<std::string> definitions;
  uint16_t language = 0x0409;
  std::string output;
  std::string blob;
  std::string depfile;
  std::string script;
};

[[noreturn]] void Usage(const std::string& problem) {
  std::cerr << "vela-rc: " << problem << "\n"
            << "usage: vela-rc [-I folder]... [-D NAME[=value]]... [-l language] [--blob file] [--depfile file] -o out.cpp script.rc\n";
  std::exit(2);
}

Options ParseArguments(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    auto value = [&](size_t prefix) -> std::string {
      if (arg.size() > prefix) {
        return arg.substr(prefix);
      }
      if (i + 1 >= argc) {
        Usage(arg + " needs a value");
      }
      return argv[++i];
    };
    if (arg.rfind("-I", 0) == 0) {
      options.includeFolders.push_back(value(2));
    } else if (arg.rfind("-D", 0) == 0) {
      options.definitions.push_back(value(2));
    } else if (arg.rfind("-l", 0) == 0) {
      const std::string text = value(2);
      char* end = nullptr;
      const unsigned long language = std::strtoul(text.c_str(), &end, 0);
      if (!end || *end || language > 0xFFFF) {
        Usage("bad language " + text);
      }
      options.language = static_cast<uint16_t>(language);
    } else if (arg == "-o") {
      options.output = value(2);
    } else if (arg == "--blob") {
      options.blob = value(6);
    } else if (arg == "--depfile") {
      options.depfile = value(9);
    } else if (!arg.empty() && arg[0] == '-') {
      Usage("unknown option " + arg);
    } else if (options.script.empty()) {
      options.script = arg;
    } else {
      Usage("more than one script given");
    }
  }
  if (options.script.empty() || options.output.empty()) {
    Usage("a script and -o are required");
  }
  return options;
}

// Written to a temporary name and renamed, so a failed run never leaves half a file that a
// build would take as up to date.
void WriteFile(const std::string& path, const void* data, size_t size) {
  const std::string temporary = path + ".tmp";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
    if (!out) {
      throw vela::rc::RcError("cannot write " + path);
    }
  }
  if (std::rename(temporary.c_str(), path.c_str()) != 0) {
    std::remove(temporary.c_str());
    throw vela::rc::RcError("cannot write " + path);
  }
}

std::string Escaped(const std::string& path) {
  std::string out;
  for (char c : path) {
    if (c == ' ' || c == '#') {
      out += '\\';
    } else if (c == '$') {
      out += '$';
    }
    out += c;
  }
  return out;
}

std::string DependencyRule(const std::string& output, const std::vector<std::string>& files) {
  std::string rule = Escaped(output) + ":";
  for (const std::string& file : files) {
    rule += " \\\n  " + Escaped(file);
  }
  return rule + "\n";
}

}  // namespace

int main(int argc, char** argv) {
  const Options options = ParseArguments(argc, argv);
  try {
    vela::rc::Preprocessor preprocessor(options.includeFolders);
    for (const std::string& definition : options.definitions) {
      preprocessor.Define(definition);
    }
    vela::rc::ExternalFiles files(options.includeFolders);
    vela::rc::ScriptParser parser(preprocessor.Run(options.script), options.language, &files);
    const std::vector<uint8_t> blob = vela::rc::WriteResourceBlob(parser.Parse());
    if (!options.blob.empty()) {
      WriteFile(options.blob, blob.data(), blob.size());
    }
    const std::string source = vela::rc::WriteCppSource(blob, options.script);
    WriteFile(options.output, source.data(), source.size());
    if (!options.depfile.empty()) {
      std::vector<std::string> read = preprocessor.FilesRead();
      read.insert(read.end(), files.FilesRead().begin(), files.FilesRead().end());
      const std::string rule = DependencyRule(options.output, read);
      WriteFile(options.depfile, rule.data(), rule.size());
    }
  } catch (const std::exception& error) {
    std::cerr << error.what() << "\n";
    return 1;
  }
  return 0;
}
