// Texts the game fills in for scripts, and the calendar.

#include <algorithm>
#include <cctype>
#include <sstream>
#include <string_view>

#include "common/exception.h"
#include "rules/kinds/formulas.h"
#include "rules/vocabulary/actor_class.h"
#include "world/game.h"

namespace DRAV {
namespace {

constexpr std::uint32_t kTicksPerSecond = 30;

// "8 hours" when the time is whole hours, else the minutes begun: "1 minute".
std::string DurationText(std::uint64_t ticks) {
    constexpr std::uint64_t kTicksPerMinute = 60 * kTicksPerSecond;
    const bool hours = ticks % (60 * kTicksPerMinute) == 0;
    const std::uint64_t count = hours ? ticks / (60 * kTicksPerMinute) : (ticks + kTicksPerMinute - 1) / kTicksPerMinute;
    return std::to_string(count) + (hours ? " hour" : " minute") + (count == 1 ? "" : "s");
}

bool IsWordCharacter(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

// `word` holds `marker` with nothing but punctuation before it and no letter or
// digit right after it ("MAINNAME?", "(MAINNAME's"): a writer punctuates a marker
// like the name it stands for. `before` and `after` take what surrounds it.
bool SplitMarker(const std::string& word, std::string_view marker, std::string& before, std::string& after) {
    std::size_t start = 0;
    while (start < word.size() && !IsWordCharacter(word[start])) ++start;
    if (word.compare(start, marker.size(), marker) != 0) return false;
    const std::size_t end = start + marker.size();
    if (end < word.size() && IsWordCharacter(word[end])) return false;
    before = word.substr(0, start);
    after = word.substr(end);
    return true;
}

}  // namespace

void CGame::ExpandText(std::string& text, std::size_t limit) const {
    std::istringstream words(text);
    std::string result;
    bool first = true;
    std::string word, before, after;
    const auto checkLength = [&] {
        if (result.size() > limit)
            throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "the text grows past " + std::to_string(limit) +
                                                            " bytes once PARTY and MAINNAME are filled in");
    };
    const auto append = [&](const std::string& piece) {
        if (piece.empty()) return;
        if (!first) result += ' ';
        result += piece;
        first = false;
        checkLength();
    };
    while (words >> word) {
        if (SplitMarker(word, "PARTY", before, after)) {
            append(before);
            for (const auto& member : m_party)
                result += " - " + member->GetName() + " (" + GetClassName(member->GetClass()) + " " +
                          std::to_string(member->GetLevel()) + ") LINE ";
            checkLength();
            append(after);
            continue;
        }
        if (SplitMarker(word, "MAINNAME", before, after)) {
            for (const auto& member : m_party) {
                if (!member->IsMainCharacter()) continue;
                word = before + member->GetName() + after;
                break;
            }
        }
        append(word);
    }
    text = std::move(result);
}

void CGame::RequireTimeToPass(std::uint64_t ticks, const std::string& what) const {
    if (ticks <= std::uint64_t{kLastPassedTick} - std::min(m_tick, kLastPassedTick)) return;
    throw CCalendarSpent(what + " would take " + DurationText(ticks) + ", past the end of the game's calendar on " +
                         FormatDateTime(kLastPassedTick) + ".");
}

void CGame::PassTime(std::uint64_t ticks, const std::string& what) {
    RequireTimeToPass(ticks, what);
    m_tick += static_cast<std::uint32_t>(ticks);
}

void CGame::SetCalendarBase(std::uint32_t year, std::uint32_t day, std::uint32_t hour) {
    m_baseYear = year;
    m_baseDay = day;
    m_baseHour = hour;
}

void CGame::GetCalendarTime(std::uint32_t ticks, std::uint32_t& year, std::uint32_t& month, std::uint32_t& day,
                            std::uint32_t& hour, std::uint32_t& minute, std::uint32_t& second) const {
    const std::uint32_t seconds = ticks / kTicksPerSecond;
    second = seconds % 60;
    minute = seconds / 60 % 60;
    const std::uint32_t hours = m_baseHour + seconds / 3600;
    hour = hours % 24;
    const std::uint32_t days = m_baseDay + hours / 24;
    day = days % 30 + 1;
    month = days / 30 % 12;
    year = m_baseYear + days / 360;
}

std::string CGame::FormatDateTime(std::uint32_t ticks) const {
    std::uint32_t year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    GetCalendarTime(ticks, year, month, day, hour, minute, second);
    const std::uint32_t clockHour = hour % 12 == 0 ? 12 : hour % 12;
    const std::string minutes = (minute < 10 ? "0" : "") + std::to_string(minute);
    return GetMonthName(month) + " " + std::to_string(day) + ", " + std::to_string(year) + " " +
           std::to_string(clockHour) + ":" + minutes + (hour < 12 ? "am" : "pm");
}

}  // namespace DRAV
