#pragma once
// Data and the game speak of paths with backslashes and find files without regard
// to case, as Windows does. This is the one place where such a path becomes a
// path of this file system.

#include <string>

namespace Win32 {

// Turns backslashes into slashes and, for each component that does not exist as
// written, takes the one entry of its folder whose name matches it without regard
// to case. Components that match no entry, or more than one, are left as written,
// so the result names the file that creating it would make.
std::string NativePath(const std::string& path);

}  // namespace Win32
