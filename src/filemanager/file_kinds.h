// The type filter's patterns and the kind table: what a file is, judged by
// its extension, and what the panel shows for it.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace vexlo::filemanager {

struct Filter {
  std::u16string_view caption;
  std::u16string_view pattern;  // wildcards separated by ";"
};

inline constexpr std::array<Filter, 5> kFilters = {{
    {u"所有文件", u"*.*"},
    {u"可执行文件", u"*.EXE;*.COM"},
    {u"文本·文档", u"*.TXT;*.DOC"},
    {u"图片·位图", u"*.BMP;*.DIB;*.ICO;*.CUR;*.WMF;*.EMF;*.JPG;*.GIF"},
    {u"Flash·影音", u"*.MP3;*.SWF;*.WAV;*.AVI;*.WMA;*.WMV;*.RMVB;*.DAT;*.CDA"},
}};
inline constexpr int kAllFilesFilter = 0;
inline constexpr int kProgramFilter = 1;
inline constexpr int kPictureFilter = 3;
inline constexpr int kMediaFilter = 4;

enum class Kind { Directory, Drive, Media, Picture, Text, Document, Program, Shortcut, Other };

// The kind label of each kind, and the tool button's caption and tooltip
// for the kinds that have one (a picture's depend on the preview mode).
struct KindRow {
  Kind kind;
  std::u16string_view label;
  std::u16string_view toolCaption;
  std::u16string_view toolTooltip;
};

inline constexpr std::u16string_view kPreviewCaption = u"预览";
inline constexpr std::u16string_view kPreviewTooltip = u" 预览图片 ";
inline constexpr std::u16string_view kReturnCaption = u"返回";
inline constexpr std::u16string_view kReturnTooltip = u" 返回 ";

const KindRow& kindRow(Kind kind);
// The kind whose label this is; Other for a text that is no kind label.
Kind kindOfLabel(std::u16string_view label);

// The 1-based position of the last `character` among the text's positions
// 1 to length - 1 (the final one is never considered), 0 when there is none.
int lastCharPosition(std::u16string_view text, char16_t character);

// The text after the last "." of the name, upper-cased; the whole name
// upper-cased when it has no "." (so a file named "exe" is a program).
std::u16string extensionOf(std::u16string_view fileName);

// The kind of a file by its name's extension.
Kind kindOfFile(std::u16string_view fileName);

// The name up to (not including) its last "."; the whole name without one.
std::u16string nameWithoutExtension(std::u16string_view fileName);

// Upper case of the ASCII letters; every other character stays.
std::u16string upperCased(std::u16string_view text);

}  // namespace vexlo::filemanager
