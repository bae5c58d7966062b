// Paths as the panel builds and shows them: directories and their chain
// from the drive root, the path label of a directory, a file and a
// shortcut, and the guard that keeps every operation off a drive root.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vexlo::filemanager {

// A directory path as the directory list holds it: 3 characters long
// exactly when it is a drive root ("C:\").
bool isRootPath(std::u16string_view directory);

// The drive root that a drive list entry ("c: [系统]") stands for: its
// letter upper-cased, a colon and "\".
std::u16string driveRootOf(std::u16string_view driveEntry);

// A directory's path label: a root unchanged (C:\), any other directory
// with a trailing "\" (C:\WINDOWS\).
std::u16string directoryLabel(std::u16string_view directory);
// A file in a directory, with no doubled separator at a root.
std::u16string joinPath(std::u16string_view directory, std::u16string_view name);

// A shortcut's path label: every "\" among its characters 1 to length - 5
// becomes "/".
std::u16string shortcutLabel(std::u16string_view fileLabel);
// The path a label stands for: a shortcut's "/" separators become "\"
// again ("/" never occurs in a real name).
std::u16string realPath(std::u16string_view label);

// The directories from the drive root down to the directory itself:
// "C:\A\B" gives C:\, C:\A, C:\A\B.
std::vector<std::u16string> directoryChain(std::u16string_view directory);

// True when the path names a drive root ("C:", "C:\", "c:/"), a share's
// root ("\\server\share") or nothing at all: no file operation, rename
// or delete may ever be given such a path.
bool namesNoItem(std::u16string_view path);

// The directory `inner` is `outer` itself or lies somewhere inside it
// (letters compared without regard to case).
bool isSameOrInside(std::u16string_view inner, std::u16string_view outer);

}  // namespace vexlo::filemanager
