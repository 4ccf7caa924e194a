// DIALOG and DIALOGEX statements: the dialog's own statements and its controls, with the default
// styles the platform's compiler gives each control keyword.
#include <strings.h>

#include <iostream>

#include "Expression.h"
#include "ScriptParser.h"

namespace vela::rc {
namespace {

constexpr uint16_t kTypeDialog = 5;

constexpr uint32_t kWsChild = 0x40000000;
constexpr uint32_t kWsVisible = 0x10000000;
constexpr uint32_t kWsPopup = 0x80000000;
constexpr uint32_t kWsBorder = 0x00800000;
constexpr uint32_t kWsCaption = 0x00C00000;
constexpr uint32_t kWsSysMenu = 0x00080000;
constexpr uint32_t kWsGroup = 0x00020000;
constexpr uint32_t kWsTabStop = 0x00010000;

constexpr uint16_t kButton = 0x0080;
constexpr uint16_t kEdit = 0x0081;
constexpr uint16_t kStatic = 0x0082;
constexpr uint16_t kListBox = 0x0083;
constexpr uint16_t kScrollBar = 0x0084;
constexpr uint16_t kComboBox = 0x0085;

// How a control statement's arguments are laid out.
enum class Form {
  Text,     // text, id, x, y, cx, cy [, style [, exstyle [, helpid]]]
  NoText,   // id, x, y, cx, cy [, style [, exstyle [, helpid]]]
  Icon,     // text, id, x, y [, cx, cy [, style [, exstyle [, helpid]]]]
  Control,  // text, id, class, style, x, y, cx, cy [, exstyle [, helpid]]
};

struct ControlKind {
  const char* keyword;
  Form form;
  uint16_t windowClass;
  uint32_t style;  // besides WS_CHILD | WS_VISIBLE, which every control has
};

const ControlKind kControls[] = {
    {"CONTROL", Form::Control, 0, 0},
    {"LTEXT", Form::Text, kStatic, 0x0000 | kWsGroup},            // SS_LEFT
    {"CTEXT", Form::Text, kStatic, 0x0001 | kWsGroup},            // SS_CENTER
    {"RTEXT", Form::Text, kStatic, 0x0002 | kWsGroup},            // SS_RIGHT
    {"ICON", Form::Icon, kStatic, 0x0003},                        // SS_ICON
    {"PUSHBUTTON", Form::Text, kButton, 0x0000 | kWsTabStop},     // BS_PUSHBUTTON
    {"DEFPUSHBUTTON", Form::Text, kButton, 0x0001 | kWsTabStop},  // BS_DEFPUSHBUTTON
    {"CHECKBOX", Form::Text, kButton, 0x0002 | kWsTabStop},       // BS_CHECKBOX
    {"AUTOCHECKBOX", Form::Text, kButton, 0x0003 | kWsTabStop},   // BS_AUTOCHECKBOX
    {"RADIOBUTTON", Form::Text, kButton, 0x0004},                 // BS_RADIOBUTTON
    {"STATE3", Form::Text, kButton, 0x0005 | kWsTabStop},         // BS_3STATE
    {"AUTO3STATE", Form::Text, kButton, 0x0006 | kWsTabStop},     // BS_AUTO3STATE
    {"GROUPBOX", Form::Text, kButton, 0x0007},                    // BS_GROUPBOX
    {"AUTORADIOBUTTON", Form::Text, kButton, 0x0009},             // BS_AUTORADIOBUTTON
    {"EDITTEXT", Form::NoText, kEdit, 0x0000 | kWsBorder | kWsTabStop},  // ES_LEFT
    {"LISTBOX", Form::NoText, kListBox, 0x0001 | kWsBorder},             // LBS_NOTIFY
    {"COMBOBOX", Form::NoText, kComboBox, 0x0001 | kWsTabStop},          // CBS_SIMPLE
    {"SCROLLBAR", Form::NoText, kScrollBar, 0x0000},                     // SBS_HORZ
};

// The predefined classes, which the template names by their atoms.
struct PredefinedClass {
  const char* name;
  uint16_t atom;
};
const PredefinedClass kClasses[] = {{"BUTTON", kButton},       {"EDIT", kEdit},
                                    {"STATIC", kStatic},       {"LISTBOX", kListBox},
                                    {"SCROLLBAR", kScrollBar}, {"COMBOBOX", kComboBox}};

bool AtomOf(const std::u16string& name, uint16_t* atom) {
  std::string ascii;
  for (char16_t c : name) {
    if (c >= 0x80) {
      return false;
    }
    ascii += static_cast<char>(c);
  }
  for (const PredefinedClass& c : kClasses) {
    if (strcasecmp(ascii.c_str(), c.name) == 0) {
      *atom = c.atom;
      return true;
    }
  }
  return false;
}

std::u16string Wide(const std::string& ascii) { return std::u16string(ascii.begin(), ascii.end()); }

void Warn(const SourceLocation& where, const std::string& message) {
  std::cerr << where.ToString() << ": warning: " << message << "\n";
}

}  // namespace

uint32_t ScriptParser::Style(uint32_t defaults) {
  if (pos_ >= tokens_.size()) {
    Next("a style");
  }
  ExpressionParser parser(tokens_, &pos_, IdentifierRule::Error);
  return parser.ParseStyle(defaults);
}

int16_t ScriptParser::Coordinate(const char* what) {
  const Token* at = Peek();
  const int64_t value = Number(what);
  if (value < -32768 || value > 32767) {
    throw RcError(at ? at->where : SourceLocation{}, std::string(what) + " " + std::to_string(value) +
                                                        " is out of range -32768-32767");
  }
  SkipComma();
  return static_cast<int16_t>(value);
}

void ScriptParser::Dialog(const ResourceName& name, const Token& keyword, bool extended) {
  DialogTemplate dialog;
  dialog.extended = extended;
  SkipMemoryOptions();
  dialog.x = Coordinate("x");
  dialog.y = Coordinate("y");
  dialog.cx = Coordinate("width");
  dialog.cy = Coordinate("height");
  if (extended && Peek() && !PeekIsBegin() && Peek()->kind == TokenKind::Number) {
    dialog.helpId = static_cast<uint32_t>(Number("a help id"));
  }
  uint16_t language = language_;
  DialogStatements(keyword, &dialog, &language);
  const Token& opener = ExpectBegin(extended ? "after the DIALOGEX statements" : "after the DIALOG statements");
  while (true) {
    if (!Peek()) {
      throw RcError(opener.where, "BEGIN without END");
    }
    if (PeekIsEnd()) {
      ++pos_;
      break;
    }
    dialog.controls.push_back(Control(Next("a control"), extended));
  }
  if (dialog.controls.size() > 0xFFFF) {
    throw RcError(keyword.where, "a dialog holds at most 65535 controls");
  }
  Resource resource;
  resource.type = ResourceName::Number(kTypeDialog);
  resource.name = name;
  resource.language = language;
  resource.where = keyword.where;
  resource.data = WriteDialogTemplate(dialog);
  Add(std::move(resource));
}

void ScriptParser::DialogStatements(const Token& keyword, DialogTemplate* dialog, uint16_t* language) {
  bool styleGiven = false;
  bool captionGiven = false;
  bool fontGiven = false;
  uint32_t style = 0;
  while (Peek() && !PeekIsBegin()) {
    const Token& statement = Next("BEGIN");
    if (statement.IsKeyword("STYLE")) {
      style = Style(0);
      styleGiven = true;
    } else if (statement.IsKeyword("EXSTYLE")) {
      dialog->exStyle = Style(0);
    } else if (statement.IsKeyword("CAPTION")) {
      const Token& text = Next("a quoted caption");
      if (text.kind != TokenKind::String) {
        throw RcError(text.where, "CAPTION needs a quoted text");
      }
      dialog->caption = text.value;
      captionGiven = true;
    } else if (statement.IsKeyword("FONT")) {
      const int64_t size = Number("a point size");
      if (size < 0 || size > 0xFFFF) {
        throw RcError(statement.where, "FONT size out of range");
      }
      dialog->font.pointSize = static_cast<uint16_t>(size);
      SkipComma();
      const Token& face = Next("a quoted type face");
      if (face.kind != TokenKind::String) {
        throw RcError(face.where, "FONT needs a point size and a quoted type face");
      }
      dialog->font.face = face.value;
      // DIALOGEX adds weight, italic and character set; DIALOG takes and ignores them.
      if (SkipComma()) {
        dialog->font.weight = static_cast<uint16_t>(Number("a weight"));
        if (SkipComma()) {
          dialog->font.italic = Number("an italic flag") ? 1 : 0;
          if (SkipComma()) {
            dialog->font.charset = static_cast<uint8_t>(Number("a character set"));
          }
        }
      }
      if (!dialog->extended) {
        dialog->font.weight = 0;
        dialog->font.italic = 0;
        dialog->font.charset = 1;
      }
      fontGiven = true;
    } else if (statement.IsKeyword("CLASS")) {
      dialog->windowClass = ControlText("a class name or number");
    } else if (statement.IsKeyword("MENU")) {
      // Dialogs of the terminal have no menu bars.
      Next("a menu name");
      Warn(statement.where, "MENU in a dialog is ignored: the terminal's dialogs have no menu bar");
    } else if (statement.IsKeyword("LANGUAGE")) {
      *language = LanguageArguments();
    } else if (statement.IsKeyword("CHARACTERISTICS") || statement.IsKeyword("VERSION")) {
      Number("a number");
    } else {
      throw RcError(statement.where, "'" + statement.text + "' is not a " + keyword.text + " statement");
    }
  }
  if (!styleGiven) {
    style = kWsPopup | kWsBorder | kWsSysMenu;
  }
  if (captionGiven) {
    style |= kWsCaption;
  }
  if (fontGiven) {
    style |= kDsSetFont;
  } else if (style & kDsSetFont) {
    Warn(keyword.where, "DS_SETFONT without a FONT statement is dropped");
    style &= ~kDsSetFont;
  }
  dialog->style = style;
}

NameOrOrdinal ScriptParser::ControlText(const char* what) {
  const Token& token = Next(what);
  if (token.kind == TokenKind::String) {
    return NameOrOrdinal::Text(token.value);
  }
  if (token.kind == TokenKind::Identifier && !token.IsKeyword("NOT")) {
    // A name that is no macro, as an icon's resource name.
    return NameOrOrdinal::Text(Wide(token.text));
  }
  --pos_;
  const int64_t n = Number(what);
  if (n < 0 || n > 0xFFFF) {
    throw RcError(token.where, std::string(what) + " " + std::to_string(n) + " is out of range 0-65535");
  }
  return NameOrOrdinal::Ordinal(static_cast<uint16_t>(n));
}

NameOrOrdinal ScriptParser::ControlClass() {
  const Token& token = Next("a control class");
  uint16_t atom = 0;
  if (token.kind == TokenKind::String) {
    if (token.value.empty()) {
      throw RcError(token.where, "a control class must not be empty");
    }
    return AtomOf(token.value, &atom) ? NameOrOrdinal::Ordinal(atom) : NameOrOrdinal::Text(token.value);
  }
  if (token.kind == TokenKind::Identifier) {
    if (AtomOf(Wide(token.text), &atom)) {
      return NameOrOrdinal::Ordinal(atom);
    }
    throw RcError(token.where, "unknown control class '" + token.text + "'; quote the name of a registered class");
  }
  --pos_;
  const int64_t n = Number("a control class");
  if (n < 0 || n > 0xFFFF) {
    throw RcError(token.where, "control class " + std::to_string(n) + " is out of range 0-65535");
  }
  return NameOrOrdinal::Ordinal(static_cast<uint16_t>(n));
}

DialogControl ScriptParser::Control(const Token& keyword, bool extended) {
  const ControlKind* kind = nullptr;
  for (const ControlKind& candidate : kControls) {
    if (keyword.IsKeyword(candidate.keyword)) {
      kind = &candidate;
    }
  }
  if (!kind || keyword.kind != TokenKind::Identifier) {
    throw RcError(keyword.where, "'" + keyword.text + "' is not a control statement");
  }
  DialogControl control;
  uint32_t defaults = kWsChild | kWsVisible | kind->style;
  if (kind->form != Form::NoText) {
    control.text = ControlText("a control text");
    SkipComma();
  }
  const Token* idToken = Peek();
  const int64_t id = Number("a control id");
  if (id < -0x80000000LL || id > 0xFFFFFFFFLL || (!extended && (id < -32768 || id > 0xFFFF))) {
    throw RcError(idToken ? idToken->where : keyword.where, "control id " + std::to_string(id) + " is out of range");
  }
  control.id = extended ? static_cast<uint32_t>(id) : static_cast<uint16_t>(id);
  SkipComma();
  if (kind->form == Form::Control) {
    control.windowClass = ControlClass();
    SkipComma();
    control.style = Style(defaults);
    SkipComma();
  } else {
    control.windowClass = NameOrOrdinal::Ordinal(kind->windowClass);
  }
  control.x = Coordinate("x");
  control.y = Coordinate("y");
  bool more = true;
  if (kind->form == Form::Icon) {
    // An icon's size is optional; the static control takes the icon's own.
    more = pos_ > 0 && tokens_[pos_ - 1].IsPunct(",");
    if (more) {
      control.cx = Coordinate("width");
      control.cy = Coordinate("height");
    }
  } else {
    control.cx = Coordinate("width");
    control.cy = Coordinate("height");
  }
  more = more && pos_ > 0 && tokens_[pos_ - 1].IsPunct(",");
  if (kind->form != Form::Control) {
    control.style = defaults;
    if (more) {
      control.style = Style(defaults);
      more = SkipComma();
    }
  }
  if (more) {
    control.exStyle = Style(0);
    more = SkipComma();
  }
  if (more) {
    if (!extended) {
      throw RcError(keyword.where, "a help id is only allowed in a DIALOGEX");
    }
    control.helpId = static_cast<uint32_t>(Number("a help id"));
  }
  if (PeekIsBegin()) {
    throw RcError(Peek()->where, "creation data of controls is not supported");
  }
  return control;
}

}  // namespace vela::rc
