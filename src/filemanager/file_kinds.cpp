#include "filemanager/file_kinds.h"

#include <algorithm>

namespace vexlo::filemanager {

namespace {

constexpr std::array<KindRow, 9> kKindRows = {{
    {Kind::Directory, u"目 录:", u"", u""},
    {Kind::Drive, u"磁 盘:", u"", u""},
    {Kind::Media, u"影 音:", u"影音", u" 添加到影音收藏夹 "},
    {Kind::Picture, u"图 片:", kPreviewCaption, kPreviewTooltip},
    {Kind::Text, u"文 本:", u"", u""},
    {Kind::Document, u"文 档:", u"", u""},
    {Kind::Program, u"程 序:", u"工具", u" 添加到我的工具箱 "},
    {Kind::Shortcut, u"快 捷:", u"", u""},
    {Kind::Other, u"文 件:", u"", u""},
}};

struct ExtensionKind {
  std::u16string_view extension;
  Kind kind;
};

// The media and picture extensions are those of their filters.
constexpr std::array<ExtensionKind, 23> kExtensions = {{
    {u"SWF", Kind::Media},   {u"MP3", Kind::Media},   {u"WAV", Kind::Media},    {u"AVI", Kind::Media},
    {u"WMA", Kind::Media},   {u"WMV", Kind::Media},   {u"RMVB", Kind::Media},   {u"DAT", Kind::Media},
    {u"CDA", Kind::Media},   {u"BMP", Kind::Picture}, {u"DIB", Kind::Picture},  {u"ICO", Kind::Picture},
    {u"CUR", Kind::Picture}, {u"WMF", Kind::Picture}, {u"EMF", Kind::Picture},  {u"JPG", Kind::Picture},
    {u"GIF", Kind::Picture}, {u"TXT", Kind::Text},    {u"DOC", Kind::Document}, {u"PDF", Kind::Document},
    {u"EXE", Kind::Program}, {u"COM", Kind::Program}, {u"LNK", Kind::Shortcut},
}};

}  // namespace

const KindRow& kindRow(Kind kind) { return kKindRows[static_cast<std::size_t>(kind)]; }

Kind kindOfLabel(std::u16string_view label) {
  for (const KindRow& row : kKindRows)
    if (row.label == label) return row.kind;
  return Kind::Other;
}

int lastCharPosition(std::u16string_view text, char16_t character) {
  if (text.size() < 2) return 0;
  const std::size_t found = text.substr(0, text.size() - 1).rfind(character);
  return found == std::u16string_view::npos ? 0 : static_cast<int>(found) + 1;
}

std::u16string upperCased(std::u16string_view text) {
  std::u16string upper(text);
  for (char16_t& c : upper)
    if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
  return upper;
}

std::u16string extensionOf(std::u16string_view fileName) {
  const int dot = lastCharPosition(fileName, u'.');
  return upperCased(fileName.substr(static_cast<std::size_t>(dot)));
}

Kind kindOfFile(std::u16string_view fileName) {
  const std::u16string extension = extensionOf(fileName);
  const auto* found = std::find_if(kExtensions.begin(), kExtensions.end(),
                                   [&](const ExtensionKind& e) { return e.extension == extension; });
  return found == kExtensions.end() ? Kind::Other : found->kind;
}

std::u16string nameWithoutExtension(std::u16string_view fileName) {
  const int dot = lastCharPosition(fileName, u'.');
  return std::u16string(dot == 0 ? fileName : fileName.substr(0, static_cast<std::size_t>(dot - 1)));
}

}  // namespace vexlo::filemanager
