#include "engine/ai.h"

#include "common/exception.h"
#include "engine/ai_cast.h"
#include "engine/ai_simple.h"
#include "engine/ai_wands_sing.h"

namespace DRAV {

std::shared_ptr<CAI> CAI::Create(DRAVCommon::CDataFileReader& reader) {
    const std::string type = reader.ReadWord();
    if (type == "stand") return std::make_shared<CAIStand>(reader);
    if (type == "charge") return std::make_shared<CAICharge>(reader);
    if (type == "cast") return std::make_shared<CAICast>(reader);
    if (type == "forcetalk") return std::make_shared<CAIForceTalk>(reader);
    if (type == "wander") {
        const double radius = reader.ReadDouble();
        return std::make_shared<CAIWander>(radius, 0.0, 0.0);
    }
    if (type == "shoot") return std::make_shared<CAIShoot>();
    if (type == "autocast") return std::make_shared<CAIAutocast>(reader);
    if (type == "wands") return std::make_shared<CAIWands>(reader);
    if (type == "sing") return std::make_shared<CAISing>(reader);
    if (type == "followparty") return std::make_shared<CAIFollowParty>();
    throw CDRAVException(DRAV_ERR_BAD_DATA,
                         reader.GetSourceName() + ": \"" + type +
                             "\" is no AI type (stand, charge, cast, forcetalk, wander, shoot, autocast, wands, "
                             "sing or followparty)");
}

std::shared_ptr<CAI> CAI::ReadElement(DRAVCommon::CDataFileReader& reader) {
    reader.BeginBlock("ai");
    std::shared_ptr<CAI> backup = Create(reader);
    reader.EndBlock();
    return backup;
}

}  // namespace DRAV
