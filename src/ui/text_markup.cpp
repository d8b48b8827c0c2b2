#include "ui/text_markup.h"

#include <sstream>

namespace DRAVUI {

std::vector<std::string> SplitMarkedLines(const std::string& text,
                                          const std::map<std::string, std::string>& replaced) {
    std::vector<std::string> lines;
    std::string current;
    std::istringstream words(text);
    for (std::string word; words >> word;) {
        if (word == "LINE") {
            lines.push_back(std::move(current));
            current.clear();
            continue;
        }
        if (auto found = replaced.find(word); found != replaced.end()) word = found->second;
        if (!current.empty()) current += ' ';
        current += word;
    }
    if (!current.empty()) lines.push_back(std::move(current));
    return lines;
}

std::string BreakMarkedLines(const std::string& text) {
    std::string joined;
    for (const std::string& line : SplitMarkedLines(text)) joined += line + '\n';
    if (!joined.empty()) joined.pop_back();
    return joined;
}

}  // namespace DRAVUI
