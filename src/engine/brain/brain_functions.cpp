#include "engine/brain/brain_functions.h"

#include "engine/brain/brain.h"

namespace DRAV {

BrainFunctions GetBrainFunctions() {
    BrainFunctions functions;
    functions.read = [](DRAVCommon::CDataFileReader& reader) {
        auto brain = std::make_shared<CBrain>();
        brain->Load(reader);
        return brain;
    };
    functions.clone = [](const CBrain& brain) { return brain.Clone(); };
    functions.loadState = [](CBrain& brain, DRAVCommon::CDataFileReader& reader) { brain.LoadState(reader); };
    functions.saveState = [](const CBrain& brain, DRAVCommon::CDataFileWriter& writer) { brain.SaveState(writer); };
    functions.relation = [](const CBrain& brain) { return brain.GetRelation(); };
    functions.watch = [](const CBrain& brain, std::string& tag) {
        tag = brain.GetProximityTag();
        return brain.GetProximityRange() > 0.0;
    };
    return functions;
}

}  // namespace DRAV
