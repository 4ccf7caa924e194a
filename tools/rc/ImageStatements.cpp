// ICON and BITMAP statements: resources made from the .ico and .bmp files a script names.
#include "BitmapFile.h"
#include "IconFile.h"
#include "ScriptParser.h"

namespace vela::rc {
namespace {

constexpr uint16_t kTypeBitmap = 2;
constexpr uint16_t kTypeIcon = 3;
constexpr uint16_t kTypeGroupIcon = 14;

}  // namespace

std::string ScriptParser::ReadNamedFile(const Token& keyword, std::string* path) {
  SkipMemoryOptions();
  const Token& file = Next("a quoted file name");
  if (file.kind != TokenKind::String) {
    throw RcError(file.where, keyword.text + " needs a quoted file name");
  }
  if (!files_) {
    throw RcError(file.where, keyword.text + " files cannot be read here");
  }
  return files_->Read(file.value, file.where, path);
}

void ScriptParser::Icon(const ResourceName& name, const Token& keyword) {
  std::string path;
  const std::string bytes = ReadNamedFile(keyword, &path);
  std::vector<IconImage> images = ReadIconFile(bytes, path, keyword.where);
  if (nextIconId_ + images.size() - 1 > 0xFFFF) {
    throw RcError(keyword.where, "more than 65535 icon images in one module");
  }
  // The group names its images by the ids they are given here, unique in the module.
  const uint16_t firstId = nextIconId_;
  nextIconId_ = static_cast<uint16_t>(nextIconId_ + images.size());
  Resource group;
  group.type = ResourceName::Number(kTypeGroupIcon);
  group.name = name;
  group.language = language_;
  group.where = keyword.where;
  group.data = GroupIconDirectory(images, firstId);
  Add(std::move(group));
  for (size_t i = 0; i < images.size(); ++i) {
    Resource image;
    image.type = ResourceName::Number(kTypeIcon);
    image.name = ResourceName::Number(static_cast<uint16_t>(firstId + i));
    image.language = language_;
    image.where = keyword.where;
    image.data = std::move(images[i].bytes);
    Add(std::move(image));
  }
}

void ScriptParser::Bitmap(const ResourceName& name, const Token& keyword) {
  std::string path;
  const std::string bytes = ReadNamedFile(keyword, &path);
  Resource bitmap;
  bitmap.type = ResourceName::Number(kTypeBitmap);
  bitmap.name = name;
  bitmap.language = language_;
  bitmap.where = keyword.where;
  bitmap.data = ReadBitmapFile(bytes, path, keyword.where);
  Add(std::move(bitmap));
}

}  // namespace vela::rc
