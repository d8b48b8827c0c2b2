#include "play_sweep/finding.h"

#include <algorithm>
#include <cctype>
#include <utility>

namespace QuillmerePlaySweep {

const std::vector<std::string> kKinds{"walk", "talk", "struck", "line", "error", "slow", "save", "post"};

bool IsFatal(const std::string& kind) { return kind == "error" || kind == "save"; }

std::string Encode(const Finding& finding) {
    std::string what = finding.what;
    std::replace(what.begin(), what.end(), '\n', ' ');
    return finding.kind + "\t" + std::to_string(finding.turn) + "\t" + what;
}

bool Decode(const std::string& text, Finding& finding) {
    const std::size_t first = text.find('\t');
    const std::size_t second = first == std::string::npos ? first : text.find('\t', first + 1);
    if (second == std::string::npos) return false;
    finding.kind = text.substr(0, first);
    if (std::find(kKinds.begin(), kKinds.end(), finding.kind) == kKinds.end()) return false;
    try {
        finding.turn = std::stoi(text.substr(first + 1, second - first - 1));
    } catch (const std::exception&) {
        return false;
    }
    finding.what = text.substr(second + 1);
    return true;
}

std::string Signature(const Finding& finding) {
    std::string signature = finding.kind + " ";
    bool inNumber = false;
    for (const char c : finding.what) {
        const bool digit = std::isdigit(static_cast<unsigned char>(c)) || (inNumber && c == '.');
        if (digit && !inNumber) signature += '#';
        if (!digit) signature += c;
        inNumber = digit;
    }
    return signature;
}

void CFindings::Report(const std::string& kind, int turn, const std::string& what) {
    Finding finding{kind, turn, what};
    const std::string signature = Signature(finding);
    if (std::find(m_signatures.begin(), m_signatures.end(), signature) != m_signatures.end()) return;
    m_signatures.push_back(signature);
    m_new.push_back(std::move(finding));
}

std::vector<Finding> CFindings::TakeNew() {
    std::vector<Finding> taken;
    taken.swap(m_new);
    return taken;
}

}  // namespace QuillmerePlaySweep
