#pragma once
// Every definition of one chapter: tiles, objects, items, monsters, spells,
// factions, quests and journal texts, with the chapter's start values. Loaded
// once from the chapter's data-file source, then only read.

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "common/data_file.h"
#include "rules/definitions/faction.h"
#include "rules/definitions/journal_texts.h"
#include "rules/definitions/object_template.h"
#include "rules/definitions/place_file.h"
#include "rules/definitions/quest_info.h"
#include "rules/definitions/tile_template.h"
#include "rules/definitions/travel_hours.h"
#include "rules/head_info.h"
#include "rules/items/item_list.h"
#include "rules/items/item_template.h"
#include "rules/kinds/thing_id.h"
#include "rules/magic/spell.h"
#include "rules/module_version_range.h"
#include "rules/monsters/brain_functions.h"

namespace DRAVCommon {
class CDataFileReader;
}

namespace DRAV {

class CActor;
class CActorTemplate;
class CGame;
class CItem;

using HeadList = std::vector<std::shared_ptr<CHeadInfo>>;
using ImportMap = std::map<std::string, std::int32_t>;
using TileTemplateMap = std::map<std::string, std::shared_ptr<CTileTemplate>>;
using ObjectTemplateMap = std::map<std::string, std::shared_ptr<CObjectTemplate>>;
using ActorTemplateMap = std::map<std::string, std::shared_ptr<CActorTemplate>>;

class CModule {
public:
    CModule() = default;
    CModule(const CModule&) = delete;
    CModule& operator=(const CModule&) = delete;

    // How monster definitions read and copy their brains; the engine sets them
    // before loading. Without them a monster with a "brain" element is code 1.
    void SetBrainFunctions(BrainFunctions functions) { m_brainFunctions = std::move(functions); }
    const BrainFunctions& GetBrainFunctions() const { return m_brainFunctions; }

    // Reads every definition file of chapter `chapter` from `package`. With
    // `expected`, both world files must carry its identifier and a version inside
    // its range (code 1, 8 or 9). Any failure abandons the load; the partly filled
    // module is then to be discarded.
    void Load(std::int32_t chapter, const CModuleVersionRange* expected,
              std::shared_ptr<DRAVCommon::CDataFileFactory> package);

    // Reads one "world" element into the module, checking its version against
    // `expected` when given. Keys repeated across calls are code 1.
    void ParseWorld(DRAVCommon::CDataFileReader& reader, const CModuleVersionRange* expected);

    // Reads one "monsters" element; a definition replaces an earlier one of its key.
    // Returns the definitions read, in file order.
    std::vector<std::shared_ptr<const CActorTemplate>> ParseMonsters(DRAVCommon::CDataFileReader& reader);

    std::int32_t GetChapter() const { return m_chapter; }
    std::int32_t GetVersion() const { return m_version; }
    std::int32_t GetSecondVersion() const { return m_secondVersion; }
    std::shared_ptr<DRAVCommon::CDataFileFactory> GetPackage() const { return m_package; }

    const std::string& GetStartArea() const { return m_startArea; }
    const std::string& GetStartEntry() const { return m_startEntry; }
    std::uint32_t GetStartYear() const { return m_startYear; }
    std::uint32_t GetStartDay() const { return m_startDay; }
    std::uint32_t GetStartHour() const { return m_startHour; }
    const HeadList& GetMaleHeads() const { return m_maleHeads; }
    const HeadList& GetFemaleHeads() const { return m_femaleHeads; }
    // Nothing fills this list; it is kept for those who read all three.
    const HeadList& GetOtherHeads() const { return m_otherHeads; }
    const ImportMap& GetImports() const { return m_imports; }

    const TileTemplateMap& GetTileTemplates() const { return m_tileTemplates; }
    const ObjectTemplateMap& GetObjectTemplates() const { return m_objectTemplates; }
    const ItemTemplateMap& GetItemTemplates() const { return m_itemTemplates; }
    const ActorTemplateMap& GetMonsterTemplates() const { return m_monsterTemplates; }
    const QuestMap& GetQuests() const { return m_quests; }
    const JournalTextMap& GetJournalTexts() const { return m_journalTexts; }
    const SpellMap& GetSpells() const { return m_spells; }
    const FactionMap& GetFactions() const { return m_factions; }

    // ---- live things from definitions ----
    // These make world things, so they are built with the world (src/world/
    // module_create.cpp); only callers that link the world use them.

    // One item of template `key`; code 1 when the module has none.
    std::shared_ptr<CItem> CreateItem(const std::string& key, std::int32_t count, ThingId id,
                                      std::uint32_t expiryTick) const;
    // The items of `items` for `actor`: into its backpack, or with `drop` into its drop
    // items. Ids come from `game`, 0 without one.
    void GiveItems(CActor& actor, const ItemList& items, CGame* game, bool drop) const;
    // A complete actor of monster definition `key`, in `game` when given (ids from
    // its counter, its stores shared through the game). Code 1 for a key without
    // definition or a definition that cannot make an actor; `actor` is then null.
    void CreateActor(std::shared_ptr<CActor>& actor, CGame* game, const std::string& key,
                     const std::string& encounterName, std::int32_t encounterIndex) const;

    // What the chapter's data file `name`.drav is to a journey (ReadPlaceFile): read
    // the first time and kept while the module lives, since every map a game loads
    // and every journey a script or the shell checks asks again, and an area file
    // is read up to its entries past all its cells. A failure is the read's and is
    // not kept.
    const CPlaceFile& GetPlaceFile(const std::string& name) const;
    // How long the journey into area `areaName` takes (ReadTravelHours): read the
    // first time a journey there is checked and kept while the module lives. A
    // failure is the read's and is not kept.
    const CTravelHours& GetTravelHours(const std::string& areaName) const;
    // The names of the entries of area `areaName` (GetPlaceFile); code 1 for a
    // travel map.
    const std::vector<std::string>& GetAreaEntryNames(const std::string& areaName) const;
    // True when `name`.drav holds a travel map; false for an area, and for a name the
    // module has no readable file of (GetAreaEntryNames then says why).
    bool IsTravelMap(const std::string& name) const;

    // Null when the module has no definition of that key.
    const CTileTemplate* FindTileTemplate(const std::string& key) const;
    const CObjectTemplate* FindObjectTemplate(const std::string& key) const;
    const CActorTemplate* FindMonsterTemplate(const std::string& key) const;

private:
    void LoadWorld(const CModuleVersionRange* expected);
    void LoadMagic();
    void LoadItems();
    void LoadFactions();
    void LoadMonsters();
    void LoadQuests();
    void LoadJournal();

    void ReadVersion(DRAVCommon::CDataFileReader& reader, const CModuleVersionRange* expected);
    void ReadStartup(DRAVCommon::CDataFileReader& reader);
    void ReadHeads(DRAVCommon::CDataFileReader& reader, const std::string& element, HeadList& heads);
    void ReadImports(DRAVCommon::CDataFileReader& reader);
    void ReadTiles(DRAVCommon::CDataFileReader& reader);
    void ReadMultitile(DRAVCommon::CDataFileReader& reader);
    void ReadObjectDefinitions(DRAVCommon::CDataFileReader& reader);
    void AddTile(const DRAVCommon::CDataFileReader& reader, std::shared_ptr<CTileTemplate> tile);

    std::int32_t m_chapter = 0;
    std::int32_t m_version = 0;
    std::int32_t m_secondVersion = 0;
    std::shared_ptr<DRAVCommon::CDataFileFactory> m_package;
    std::string m_startArea;
    std::string m_startEntry;
    std::uint32_t m_startYear = 0;
    std::uint32_t m_startDay = 0;
    std::uint32_t m_startHour = 0;
    HeadList m_maleHeads;
    HeadList m_femaleHeads;
    HeadList m_otherHeads;
    ImportMap m_imports;
    TileTemplateMap m_tileTemplates;
    ObjectTemplateMap m_objectTemplates;
    ItemTemplateMap m_itemTemplates;
    ActorTemplateMap m_monsterTemplates;
    QuestMap m_quests;
    JournalTextMap m_journalTexts;
    SpellMap m_spells;
    FactionMap m_factions;
    // One start-up across both world files; an empty head list cannot tell.
    bool m_startupRead = false;
    BrainFunctions m_brainFunctions;
    mutable std::map<std::string, CPlaceFile> m_placeFiles;
    mutable std::map<std::string, CTravelHours> m_travelHours;
};

}  // namespace DRAV
