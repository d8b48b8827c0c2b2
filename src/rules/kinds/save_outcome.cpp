#include "rules/kinds/save_outcome.h"

#include "rules/vocabulary/vocabulary_table.h"

namespace DRAV {

namespace {

struct SaveOutcomeRow {
    const char* key;
    CSaveOutcome outcome;
};

constexpr SaveOutcomeRow kSaveOutcomes[] = {
    {"none", {100, true, true}},
    {"half", {50, true, true}},
    {"mineffect", {10, true, false}},
    {"mintime", {10, false, true}},
    {"negate", {0, true, true}},
};

}  // namespace

CSaveOutcome ParseSaveOutcome(const std::string& word) {
    return kSaveOutcomes[ParseTableKey(kSaveOutcomes, &SaveOutcomeRow::key, word, DRAV_ERR_BAD_DATA, "save outcome")]
        .outcome;
}

}  // namespace DRAV
