#include "rules/monsters/actor_names.h"

#include <algorithm>
#include <cctype>
#include <cstdint>

#include "common/data_file_reader.h"
#include "common/exception.h"

namespace DRAV {
namespace {

// Whether `text` is UTF-8 as the standard has it: no stray or missing continuation
// byte, no sequence longer than it needs, no surrogate and nothing past U+10FFFF.
bool IsUtf8(const std::string& text) {
    std::size_t at = 0;
    while (at < text.size()) {
        const auto lead = static_cast<unsigned char>(text[at]);
        std::size_t length = 0;
        std::uint32_t point = 0;
        if (lead < 0x80) {
            ++at;
            continue;
        }
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            point = lead & 0x1Fu;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            point = lead & 0x0Fu;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            point = lead & 0x07u;
        } else {
            return false;
        }
        if (text.size() - at < length) return false;
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[at + k]);
            if ((next & 0xC0u) != 0x80u) return false;
            point = (point << 6) | (next & 0x3Fu);
        }
        if ((length == 3 && point < 0x800) || (length == 4 && point < 0x10000)) return false;
        if ((point >= 0xD800 && point <= 0xDFFF) || point > 0x10FFFF) return false;
        at += length;
    }
    return true;
}

}  // namespace

std::string KeptName(const DRAVCommon::CDataFileReader& reader, std::string name, const char* what) {
    if (name.size() > kActorNameLimit)
        reader.Fail(DRAV_ERR_BAD_DATA, std::string(what) + " of " + std::to_string(name.size()) +
                                           " bytes is longer than the " + std::to_string(kActorNameLimit) +
                                           " an actor's name holds");
    if (const std::string fault = NameTextFault(name); !fault.empty())
        reader.Fail(DRAV_ERR_BAD_DATA, std::string(what) + " " + fault);
    return name;
}

std::string NameTextFault(const std::string& name) {
    if (name.find('\0') != std::string::npos) return "holds a NUL byte";
    if (!IsUtf8(name)) return "is not UTF-8";
    return "";
}

bool HasLetterOrDigit(const std::string& name) {
    return std::any_of(name.begin(), name.end(), [](unsigned char c) { return std::isalnum(c) != 0; });
}

std::string HeroNameFault(const std::string& name) {
    if (name.empty()) return "is empty";
    if (name.size() > kHeroNameLimit)
        return "of " + std::to_string(name.size()) + " bytes is longer than the " + std::to_string(kHeroNameLimit) +
               " the name page takes";
    if (const std::string fault = NameTextFault(name); !fault.empty()) return fault;
    if (!HasLetterOrDigit(name)) return "holds no letter or digit";
    return "";
}

}  // namespace DRAV
