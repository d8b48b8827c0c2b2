#include "script/script_loader.h"

#include "common/data_file_reader.h"

namespace DRAV {

bool IsScriptBlock(const DRAVCommon::CDataFileReader& reader) {
    return reader.IsBlock("lua") || reader.IsBlock("settag");
}

std::shared_ptr<CLuaScript> LoadScript(DRAVCommon::CDataFileReader& reader, const std::string& element) {
    // The word pairs in front of a script carry nothing the system uses.
    while (reader.BeginGroup(2, true)) {
        reader.ReadWordOrEmpty();
        reader.ReadWordOrEmpty();
    }
    if (reader.IsBlock("lua")) {
        reader.BeginBlock("lua");
        std::string origin = reader.GetSourceName();
        if (!element.empty()) origin += " (" + element + ")";
        auto script = std::make_shared<CLuaScript>(reader, std::move(origin));
        reader.EndBlock();
        return script;
    }
    if (reader.IsBlock("settag")) {
        reader.BeginBlock("settag");
        auto script = std::make_shared<CLuaScript>(reader.ReadWordOrEmpty());
        reader.EndBlock();
        return script;
    }
    return nullptr;
}

std::shared_ptr<CLuaScript> MakeTriggerScript(const std::string& tag, std::int32_t statistic, std::int32_t number,
                                              const std::string& title, const std::string& text,
                                              const std::string& origin) {
    return std::make_shared<CLuaScript>(tag, statistic, number, title, text, origin);
}

}  // namespace DRAV
