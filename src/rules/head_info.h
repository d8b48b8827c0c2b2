#pragma once
// A head offered at character creation: its description and its graphic word.

#include <string>

namespace DRAV {

struct CHeadInfo {
    std::string text;
    std::string word;
};

}  // namespace DRAV
