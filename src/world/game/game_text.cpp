// Texts the game fills in for scripts, and the calendar.

#include <sstream>

#include "common/exception.h"
#include "rules/kinds/formulas.h"
#include "rules/vocabulary/actor_class.h"
#include "world/game.h"

namespace DRAV {
namespace {

constexpr std::uint32_t kTicksPerSecond = 30;

}  // namespace

void CGame::ExpandText(std::string& text, std::size_t limit) const {
    std::istringstream words(text);
    std::string result;
    bool first = true;
    std::string word;
    const auto checkLength = [&] {
        if (result.size() > limit)
            throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "the text grows past " + std::to_string(limit) +
                                                            " bytes once PARTY and MAINNAME are filled in");
    };
    while (words >> word) {
        if (word == "PARTY") {
            for (const auto& member : m_party)
                result += " - " + member->GetName() + " (" + GetClassName(member->GetClass()) + " " +
                          std::to_string(member->GetLevel()) + ") LINE ";
            checkLength();
            continue;
        }
        if (word == "MAINNAME") {
            for (const auto& member : m_party) {
                if (!member->IsMainCharacter()) continue;
                word = member->GetName();
                break;
            }
        }
        if (!first) result += ' ';
        result += word;
        first = false;
        checkLength();
    }
    text = std::move(result);
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
