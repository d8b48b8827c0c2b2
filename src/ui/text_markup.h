#pragma once
// The markup of texts the widgets show: the word "LINE" ends a line.

#include <map>
#include <string>
#include <vector>

namespace DRAVUI {

// The lines of `text`: its words, split at white space, joined by one blank up to
// each word "LINE", which ends a line (an empty one when two follow each other); a
// marker at the very end adds no empty line. A word found in `replaced` stands for
// its value there.
std::vector<std::string> SplitMarkedLines(const std::string& text,
                                          const std::map<std::string, std::string>& replaced = {});

// The same lines joined by line feeds, which the font draws as line ends.
std::string BreakMarkedLines(const std::string& text);

}  // namespace DRAVUI
