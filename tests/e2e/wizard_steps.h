#pragma once
// The creation pages clicked and typed through as a player does: from the front
// page over New Game, gender, class, attributes, skills and appearance to the name
// page, and a name typed there, which starts the chapter with its intro. A later
// chapter is reached through New Game's advanced options and its level page.

#include <algorithm>
#include <cctype>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "driver.h"
#include "engine/engine.h"
#include "game/app.h"
#include "game/chapter_info.h"
#include "game/dialogs/creation/attrib_dlg.h"
#include "game/dialogs/creation/cc_choice_dlg.h"
#include "game/dialogs/creation/cc_looks_dlg.h"
#include "game/dialogs/front/new_game_dlg.h"
#include "game/dialogs/creation/skills_dlg.h"
#include "game/dialogs/front/start_dlg.h"
#include "rules/magic/spell.h"
#include "rules/module.h"
#include "rules/vocabulary/actor_class.h"
#include "rules/vocabulary/attributes.h"
#include "rules/vocabulary/skills.h"
#include "world/actor.h"

namespace QuillmereE2E {

struct NewCharacter {
    int gender = CCCGenderDlg::kMale;
    DRAV::ActorClass actorClass = DRAV::CLASS_FIGHTER;
    // The skills the skills page buys, in the order bought; asked in the program's
    // process when the page is up, so it may look at what the program has loaded.
    // While picks are left, the first of them not yet known that can be learned.
    std::function<std::vector<int>()> skills;
    std::string name;
    // Attributes raised in turn, as far as the points go; empty: all five in turn.
    std::vector<DRAV::Attribute> raises = {};
    // A later chapter begins at the level its level page marks.
    int chapter = 1;
};

inline std::vector<Step> ToTheFrontPage() { return {Wait(200), Move(500, 400), Click(500, 400), Wait(100)}; }

// The first skills of a group a level-1 character can buy without prerequisites.
inline std::vector<int> PlainSkills(int group, std::size_t count) {
    std::vector<int> skills;
    const int free = DRAV::GetClassInfo(static_cast<DRAV::ActorClass>(group)).freeSkill;
    for (int skill = 0; skill < DRAV::kSkillCount && skills.size() < count; ++skill) {
        const auto& info = DRAV::GetSkillInfo(static_cast<DRAV::SkillId>(skill));
        if (info.skillClass == group && info.level <= 1 && info.prerequisites[0] == DRAV::SKILL_NONE &&
            skill != free)
            skills.push_back(skill);
    }
    return skills;
}

// Two Fighter skills for the class picks and an Adventurer skill for the general one.
inline std::vector<int> FighterSkills() {
    std::vector<int> skills = PlainSkills(DRAV::CLASS_FIGHTER, 2);
    const std::vector<int> general = PlainSkills(DRAV::CLASS_ROGUE, 1);
    skills.insert(skills.end(), general.begin(), general.end());
    return skills;
}

// Level-1 picks of a class, class and general together.
inline int FirstLevelPicks(DRAV::ActorClass actorClass) {
    std::int32_t classPicks = 0, generalPicks = 0;
    DRAV::GetSkillPicksForLevels(actorClass, 1, classPicks, generalPicks);
    return classPicks + generalPicks;
}

// The magic schools, in the order a level-1 Spellcaster buys them, that let her
// cast the loaded module's spells: first the school of `spell` with the schools it
// needs before it, then the schools the most other spells use, as long as `picks`
// last. Looked up in the program's process, so it follows whatever schools the
// module's spells name.
inline std::vector<int> SchoolsForSpells(const std::string& spell, int picks) {
    const DRAV::SpellMap& spells = GetApp().GetEngine()->GetModule()->GetSpells();
    std::map<int, int> uses;
    for (const auto& [key, candidate] : spells) {
        const int school = candidate->GetSchool();
        if ((candidate->GetFlags() & DRAV::SPELL_POWER) == 0 && school >= 0 && school < DRAV::kSkillCount)
            ++uses[school];
    }
    std::vector<int> byUse;
    for (const auto& [school, count] : uses) byUse.push_back(school);
    std::stable_sort(byUse.begin(), byUse.end(), [&](int a, int b) { return uses[a] > uses[b]; });
    const std::vector<int> baseSchools{DRAV::SKILL_VOID_MAGIC, DRAV::SKILL_MATTER_MAGIC, DRAV::SKILL_ENERGY_MAGIC,
                                       DRAV::SKILL_SPIRIT_MAGIC};
    auto isBase = [&](int skill) {
        return std::find(baseSchools.begin(), baseSchools.end(), skill) != baseSchools.end();
    };
    // A base school for "any base school": the one the spells use most.
    int anyBase = baseSchools.front();
    for (int school : byUse)
        if (isBase(school)) {
            anyBase = school;
            break;
        }

    std::vector<int> plan;
    auto known = [&](const std::vector<int>& list, int skill) {
        return std::find(list.begin(), list.end(), skill) != list.end();
    };
    // `school` after what it needs; false when one of them is not a level-1 school.
    std::function<bool(std::vector<int>&, int)> add = [&](std::vector<int>& list, int school) {
        if (school < 0 || school >= DRAV::kSkillCount) return false;
        if (known(list, school)) return true;
        const auto& info = DRAV::GetSkillInfo(static_cast<DRAV::SkillId>(school));
        if (info.skillClass != DRAV::CLASS_SPELLCASTER || info.level > 1) return false;
        for (int needed : info.prerequisites) {
            if (needed == DRAV::SKILL_NONE) continue;
            if (needed == DRAV::SKILL_ANY_MAGIC) {
                if (std::none_of(list.begin(), list.end(), isBase) && !add(list, anyBase)) return false;
            } else if (!add(list, needed)) {
                return false;
            }
        }
        list.push_back(school);
        return true;
    };
    auto tryAdd = [&](int school) {
        std::vector<int> tried = plan;
        if (add(tried, school) && static_cast<int>(tried.size()) <= picks) plan = tried;
    };
    if (const DRAV::CSpell* first = DRAV::FindSpell(spells, spell)) tryAdd(first->GetSchool());
    for (int school : byUse) tryAdd(school);
    for (int school : baseSchools) tryAdd(school);
    return plan;
}

// The attribute page's Add buttons of `raises` clicked in turn while the points
// left pay for one of them, then those of the others until no raise is affordable.
inline Step RaiseInTurn(std::vector<DRAV::Attribute> raises, std::size_t next = 0) {
    return Decide([raises, next] {
        const std::shared_ptr<DRAV::CActor>& actor = GetApp().GetNewActor();
        if (!actor) return std::vector<Step>{};
        const auto affordable = [&](DRAV::Attribute attribute) {
            return DRAV::AttributeRaiseCost(actor->GetAttribute(attribute)) <= actor->GetUnspentPoints();
        };
        std::vector<DRAV::Attribute> order;
        for (std::size_t k = 0; k < raises.size(); ++k) order.push_back(raises[(next + k) % raises.size()]);
        for (int attribute = 0; attribute < CAttribDlg::kAttributeCount; ++attribute)
            order.push_back(static_cast<DRAV::Attribute>(attribute));
        for (const DRAV::Attribute attribute : order)
            if (affordable(attribute))
                return std::vector<Step>{ClickId(CAttribDlg::kFirstAdd + attribute), RaiseInTurn(raises, next + 1)};
        return std::vector<Step>{};
    });
}

// The skills page's picks spent on `skills`: each one's group button, then its Buy.
// A Buy that bought nothing (a class pick the skill cannot take) is not tried again,
// so that the picks go to the next skill rather than on for ever.
inline Step BuyInTurn(std::function<std::vector<int>()> skills, std::set<int> tried = {}) {
    return Decide([skills, tried] {
        const std::shared_ptr<DRAV::CActor>& actor = GetApp().GetNewActor();
        std::int32_t classPicks = 0, generalPicks = 0;
        if (actor) actor->GetUnspentSkillPicks(classPicks, generalPicks);
        if (!actor || classPicks + generalPicks == 0) return std::vector<Step>{};
        for (const int skill : skills()) {
            const auto id = static_cast<DRAV::SkillId>(skill);
            if (skill < 0 || skill >= DRAV::kSkillCount || tried.count(skill) || actor->HasSkill(id) ||
                !actor->CanLearnSkill(id))
                continue;
            std::set<int> next = tried;
            next.insert(skill);
            return std::vector<Step>{ClickId(CSkillsDlg::kFirstGroup + DRAV::GetSkillInfo(id).skillClass),
                                     ClickId(CSkillsDlg::kFirstBuy + skill), BuyInTurn(skills, std::move(next))};
        }
        return std::vector<Step>{};
    });
}

// From the front page to the name page of `character` with the first head.
inline std::vector<Step> ThroughTheWizard(const NewCharacter& character) {
    std::vector<Step> steps = ToTheFrontPage();
    std::vector<Step> clicks{ClickId(CStartDlg::kStartNewGame)};
    if (character.chapter == 1) {
        clicks.push_back(ClickId(CNewGameDlg::kStartGame));
    } else {
        clicks.push_back(ClickId(CNewGameDlg::kAdvancedOptions));
        clicks.push_back(ClickId(CNewGameChapterDlg::kFirstPlay - 1 + character.chapter));
        clicks.push_back(ClickIdOf([chapter = character.chapter] {
            const CDRAVChapterInfo* entry = GetApp().GetChapterTable().Find(chapter);
            return entry ? std::to_string(CCCLevelDlg::kFirstLevel + entry->m_startingLevel) : "no chapter";
        }));
    }
    clicks.push_back(ClickId(character.gender));
    clicks.push_back(ClickId(CCCClassDlg::kFirstClass + static_cast<int>(character.actorClass)));
    for (Step& click : clicks) {
        steps.push_back(std::move(click));
        steps.push_back(Wait(50));
    }
    if (character.raises.empty())
        for (int k = 0; k < 80; ++k) steps.push_back(ClickId(CAttribDlg::kFirstAdd + k % CAttribDlg::kAttributeCount));
    else
        steps.push_back(RaiseInTurn(character.raises));
    steps.push_back(Screenshot("attributes"));
    steps.push_back(ClickId(CAttribDlg::kDone));
    steps.push_back(Wait(50));
    // The explanation over the skills page first.
    steps.push_back(ClickId(1));
    steps.push_back(Wait(50));
    steps.push_back(Screenshot("skills"));
    steps.push_back(BuyInTurn(character.skills));
    steps.push_back(Screenshot("skills_bought"));
    steps.push_back(ClickId(CSkillsDlg::kDone));
    steps.push_back(Wait(50));
    steps.push_back(ClickId(CCCHeadDlg::kFirstHead));
    steps.push_back(Wait(50));
    steps.push_back(Screenshot("colours"));
    steps.push_back(ClickId(CCCColorsDlg::kDone));
    steps.push_back(Wait(50));
    return steps;
}

// `name` typed on the name page and entered: letters, capitals with Shift.
inline std::vector<Step> TypeName(const std::string& name) {
    std::vector<Step> steps;
    for (char c : name) {
        const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (lower < 'a' || lower > 'z') continue;
        steps.push_back(Key(static_cast<SDL_Scancode>(SDL_SCANCODE_A + (lower - 'a')),
                            lower == c ? KMOD_NONE : KMOD_LSHIFT));
    }
    steps.push_back(Key(SDL_SCANCODE_RETURN));
    steps.push_back(Wait(100));
    return steps;
}

// The whole wizard: the chapter's intro is up when these have run.
inline std::vector<Step> MadeByTheWizard(const NewCharacter& character) {
    std::vector<Step> steps = ThroughTheWizard(character);
    const std::vector<Step> name = TypeName(character.name);
    steps.insert(steps.end(), name.begin(), name.end());
    return steps;
}

}  // namespace QuillmereE2E
