#pragma once
// The parameter block of a visual effect, used by spells and area patches.

#include <string>
#include <utility>
#include <vector>

#include "common/data_file_reader.h"

namespace DRAVGraph {

class CEffectParams {
public:
    CEffectParams() = default;
    CEffectParams(double scale, std::vector<std::string> words) : m_scale(scale), m_words(std::move(words)) {}
    // Reads a "params" block: the scale, then words ("0" is an empty word).
    explicit CEffectParams(DRAVCommon::CDataFileReader& reader);

    double GetScale() const { return m_scale; }
    const std::vector<std::string>& GetWords() const { return m_words; }

private:
    double m_scale = 1.0;
    std::vector<std::string> m_words;
};

}  // namespace DRAVGraph
