#include "rules/monsters/actor_names.h"

#include <algorithm>
#include <cctype>

#include "common/data_file_reader.h"
#include "common/exception.h"
#include "common/shown_text.h"

namespace DRAV {
std::string KeptName(const DRAVCommon::CDataFileReader& reader, std::string name, const char* what) {
    if (name.size() > kActorNameLimit)
        reader.Fail(DRAV_ERR_BAD_DATA, std::string(what) + " of " + std::to_string(name.size()) +
                                           " bytes is longer than the " + std::to_string(kActorNameLimit) +
                                           " an actor's name holds");
    if (const std::string fault = DRAVCommon::ShownTextFault(name); !fault.empty())
        reader.Fail(DRAV_ERR_BAD_DATA, std::string(what) + " " + fault);
    return name;
}

bool HasLetterOrDigit(const std::string& name) {
    return std::any_of(name.begin(), name.end(), [](unsigned char c) { return std::isalnum(c) != 0; });
}

std::string HeroNameFault(const std::string& name) {
    if (name.empty()) return "is empty";
    if (name.size() > kHeroNameLimit)
        return "of " + std::to_string(name.size()) + " bytes is longer than the " + std::to_string(kHeroNameLimit) +
               " the name page takes";
    if (const std::string fault = DRAVCommon::ShownTextFault(name); !fault.empty()) return fault;
    if (!HasLetterOrDigit(name)) return "holds no letter or digit";
    return "";
}

}  // namespace DRAV
