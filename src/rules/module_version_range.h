#pragma once
// The module identity and version range the engine expects a chapter to have.

#include <cstdint>
#include <string>

namespace DRAV {

struct CModuleVersionRange {
    // One version serves as both the maximum and the minimum.
    CModuleVersionRange(std::string identifier, std::int32_t version, std::int32_t further)
        : identifier(std::move(identifier)), maxVersion(version), minVersion(version), further(further) {}

    std::string identifier;
    std::int32_t maxVersion;
    std::int32_t minVersion;
    std::int32_t further;
};

}  // namespace DRAV
