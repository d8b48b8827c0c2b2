#include "play_sweep/stage_saves.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <vector>

#include "common/random.h"
#include "engine/story_steps.h"
#include "engine/weir_steps.h"
#include "world/area.h"
#include "world/area/area_records.h"
#include "world/order.h"

namespace QuillmerePlaySweep {
namespace {

using QuillmereTest::Player;

// The save record the program writes and reads back.
const DRAV::CModuleVersionRange kSaveRecord("Orvex", 5, 0);

class CStages {
public:
    CStages(std::string folder, int chapter, std::string only)
        : m_folder(std::move(folder)), m_chapter(chapter), m_only(std::move(only)) {}

    bool Wanted(int chapter, const std::string& name) const {
        return (!m_chapter || m_chapter == chapter) && (m_only.empty() || m_only == name);
    }

    // The game as `player` has it now, saved as the stage `name` when `reached`.
    void Keep(Player& player, int chapter, const std::string& name, bool reached) {
        if (!Wanted(chapter, name)) return;
        // A stage the story no longer reaches would leave its starts out of every
        // sweep unseen.
        if (!reached) throw std::runtime_error("the story did not reach the stage " + name);
        const std::string path = (std::filesystem::path(m_folder) / (name + ".drav")).string();
        player.Engine().SaveGame(path, kSaveRecord, nullptr);
        m_stages.push_back({chapter, name, path});
    }

    void New(int chapter) {
        if (Wanted(chapter, "new")) m_stages.push_back({chapter, "new", ""});
    }

    std::vector<Stage> Take() { return std::move(m_stages); }

private:
    std::string m_folder;
    int m_chapter;
    std::string m_only;
    std::vector<Stage> m_stages;
};

const char* const kReedwaterStages[] = {"landing", "marsh", "orrin_freed", "orrin_home", "reported"};
const char* const kAshcombeStages[] = {"weir", "sluice"};

// The fighter's road: the landing's errands, the marsh with Marra, the hide
// broken and Orrin freed, Orrin home, the smugglers reported, the fare paid; then
// upriver to the weir and into the sluice house.
void PlayTheStory(CStages& stages) {
    DRAVCommon::GetRandomEngine().seed(5);
    Player player(QuillmereTest::kFighter);
    QuillmereTest::TakeTobinsPole(player);
    QuillmereTest::FightTheLaneGoblins(player);
    QuillmereTest::OpenTheCrate(player);
    QuillmereTest::HearHollisNews(player);
    QuillmereTest::AnswerTheHeron(player);
    QuillmereTest::AskHeskAboutTheFerry(player);
    stages.Keep(player, 1, "landing", player.Game().IsQuestTagSet("boatwright_asked"));
    QuillmereTest::WalkIntoTheMarsh(player);
    QuillmereTest::AskMarraAlong(player);
    stages.Keep(player, 1, "marsh", player.Area().GetName() == "reed_marsh");
    QuillmereTest::FightThroughTheHide(player);
    QuillmereTest::FreeOrrin(player);
    stages.Keep(player, 1, "orrin_freed", player.Game().IsQuestTagSet("smugglers_routed"));
    QuillmereTest::BringOrrinHome(player);
    stages.Keep(player, 1, "orrin_home", player.Area().GetName() == "reedwater_landing");
    QuillmereTest::ReportTheSmugglers(player);
    stages.Keep(player, 1, "reported", player.Game().IsQuestTagSet("smugglers_reported"));
    QuillmereTest::PayTheFare(player);
    if (player.Game().GetStateCode() != DRAV::GAME_WON) return;

    Player weir(QuillmereTest::SampleGame::NextChapter(player.Sample()), QuillmereTest::kFighter.spells);
    QuillmereTest::ArriveAtTheWeir(weir, "tutorial_items");
    stages.Keep(weir, 2, "weir", weir.Area().GetName() == "ashcombe_weir");
    QuillmereTest::AskSefton(weir, "Mother Hesk's word came up by the Guild's pigeon: you are the one who broke "
                                   "Marrow's hide in the Reedwater reeds.");
    QuillmereTest::AskNell(weir);
    QuillmereTest::OpenTheSluiceHouse(weir);
    stages.Keep(weir, 2, "sluice", QuillmereTest::SluiceHouseOpen(weir));
}

// The hero of the stages below, by the shortest road from the dock to the marsh
// with Marra along.
void IntoTheMarshWithMarra(Player& player) {
    QuillmereTest::TakeTobinsPole(player);
    QuillmereTest::FightTheLaneGoblins(player);
    QuillmereTest::HearHollisNews(player);
    QuillmereTest::WalkIntoTheMarsh(player);
    QuillmereTest::AskMarraAlong(player);
}

// The marsh stage after a chase: the drowned watch, roused in the south shallows,
// chased the party over the bridge to the back channel below the hide, where a box
// held it back as it stood, about the place Marra's punt lands at; the party went
// back to Marra's fire. Taken round in her punt to the hide, or to the marsh again, the
// party comes back into the marsh with no journey's hours between: an arrival
// that leaves the watch loose where it stood puts it upon the party.
void WatchAtTheBridge(CStages& stages) {
    if (!stages.Wanted(1, "chased")) return;
    DRAVCommon::GetRandomEngine().seed(5);
    Player player(QuillmereTest::kFighter);
    IntoTheMarshWithMarra(player);
    DRAV::CArea& marsh = player.Area();
    const DRAV::CAreaEntry* punt = DRAV::FindAreaEntry(marsh.GetEntries(), "punt");
    int held = 0;
    for (const auto& warden : DRAV::ActorList(marsh.GetActors())) {
        if (!punt || warden->GetTemplateName() != "drowned_warden") continue;
        std::shared_ptr<DRAV::CActor> chaser = marsh.RemoveActor(*warden);
        if (!marsh.PlaceActor(punt->column + 1, punt->row, false, chaser)) {
            marsh.AddActor(std::move(chaser));
            continue;
        }
        chaser->SetRelation(DRAV::RELATION_HOSTILE);
        player.Game().HoldFoeBack(*chaser);
        ++held;
    }
    // Back from the fire onto the lane, out of reach of its way out and of the watch.
    const bool onTheLane = player.WalkTo(9, 4);
    stages.Keep(player, 1, "chased",
                onTheLane && held == 3 && marsh.GetName() == "reed_marsh" && player.Game().IsQuestTagSet("witch_told"));
}

// A drowned warden lands many blows to a swing, and one swing may fell whoever he
// comes up on, as the dice fall: while he strikes, those he strikes have hit
// points to spare, and after it each is left as hurt as he made her, short of falling.
class CSpared {
public:
    explicit CSpared(DRAV::ActorList spared) : m_spared(std::move(spared)) {
        for (const auto& actor : m_spared) {
            m_most.push_back(actor->GetMaxHitPoints());
            actor->SetMaxHitPoints(kSpare);
        }
    }
    ~CSpared() {
        for (std::size_t i = 0; i < m_spared.size(); ++i) {
            const std::int32_t taken = m_spared[i]->GetDamageTaken();
            m_spared[i]->SetMaxHitPoints(m_most[i]);
            m_spared[i]->SetDamageTaken(std::min(taken, m_most[i] - 1));
        }
    }
    CSpared(const CSpared&) = delete;
    CSpared& operator=(const CSpared&) = delete;

private:
    static constexpr std::int32_t kSpare = 100000;
    DRAV::ActorList m_spared;
    std::vector<std::int32_t> m_most;
};

// A drowned warden comes up out of the shallows onto Marra where she stands, in
// the cell beside her, and strikes her; false when he did not.
bool WardenStrikesMarra(Player& player) {
    DRAV::CArea& marsh = player.Area();
    const std::shared_ptr<DRAV::CActor> marra = player.Person("reed_witch");
    const std::shared_ptr<DRAV::CActor> found = player.Person("drowned_warden");
    std::shared_ptr<DRAV::CActor> warden = found ? marsh.RemoveActor(*found) : nullptr;
    if (!marra || !warden) return false;
    const auto column = static_cast<std::uint32_t>(marra->GetX() / QuillmereTest::kCell);
    const auto row = static_cast<std::uint32_t>(marra->GetY() / QuillmereTest::kCell);
    if (!marsh.PlaceActor(column + 1, row, false, warden)) return false;
    warden->SetRelation(DRAV::RELATION_HOSTILE);
    warden->SetAttackTarget(player.Game().GetTick(), marra.get());
    const CSpared spared({marra});
    const bool struck = player.TickUntil([&] { return marra->GetDamageTaken() > 0; }, 600);
    return struck && marra->IsAlive() && marra->IsPartyMember();
}

// The marsh stage with Marra held: a drowned warden has come up out of the shallows
// onto her as the party stands on the lane a few cells from its way out home, and
// strikes her. A party sent to the way out leaves her held on the way, until she
// falls there or is let go; either way what she ends is the party's walk, and the
// question of leaving comes from where the rest stand.
void WardenHoldsMarra(CStages& stages) {
    if (!stages.Wanted(1, "held")) return;
    DRAVCommon::GetRandomEngine().seed(5);
    Player player(QuillmereTest::kFighter);
    IntoTheMarshWithMarra(player);
    const bool onTheLane = player.WalkTo(6, 4);
    stages.Keep(player, 1, "held", onTheLane && WardenStrikesMarra(player));
}

// The marsh stage with Marra held back on the lane: the hero stands within reach
// of the lane's way out home, Marra a step behind her beyond it, where a drowned
// warden strikes her. A party sent to the way out comes there without her; held
// where she stands, she ends the walk as she falls, on a tick when nobody's order
// ends, and the question of leaving is owed the rest then.
void WardenHoldsMarraBehind(CStages& stages) {
    if (!stages.Wanted(1, "behind")) return;
    DRAVCommon::GetRandomEngine().seed(5);
    Player player(QuillmereTest::kFighter);
    IntoTheMarshWithMarra(player);
    // Back along the lane from the bridge, Marra a step behind on its side.
    const bool onTheLane = player.WalkTo(14, 4) && player.WalkTo(7, 4);
    stages.Keep(player, 1, "behind", onTheLane && WardenStrikesMarra(player));
}

// The marsh stage past the hide with the party about to fall: the hide fought
// through and Orrin freed, the drowned watch has come up out of the shallows onto
// the party, each member down to a blow from falling. A party wiped out wakes on
// the landing's dock, a few cells from the lookout the smugglers posted on the
// trail head since, who has no part in the fight the party fell in: the calm after
// the wake holds him back however near the party walks.
void WipedOutByTheWatch(CStages& stages) {
    if (!stages.Wanted(1, "wiped")) return;
    DRAVCommon::GetRandomEngine().seed(5);
    Player player(QuillmereTest::kFighter);
    IntoTheMarshWithMarra(player);
    QuillmereTest::FightThroughTheHide(player);
    QuillmereTest::FreeOrrin(player);
    DRAV::CArea& marsh = player.Area();
    const auto party = player.Game().GetParty();
    std::size_t placed = 0;
    // The watch stands through the fight whoever's blows fall first: each member is struck.
    DRAV::ActorList fighters = party;
    for (const auto& warden : DRAV::ActorList(marsh.GetActors())) {
        if (warden->GetTemplateName() != "drowned_warden" || placed >= party.size()) continue;
        const std::shared_ptr<DRAV::CActor>& member = party[placed];
        const auto column = static_cast<std::uint32_t>(member->GetX() / QuillmereTest::kCell);
        const auto row = static_cast<std::uint32_t>(member->GetY() / QuillmereTest::kCell);
        std::shared_ptr<DRAV::CActor> watch = marsh.RemoveActor(*warden);
        if (!marsh.PlaceActor(column + 1, row, false, watch)) {
            marsh.AddActor(std::move(watch));
            continue;
        }
        watch->SetRelation(DRAV::RELATION_HOSTILE);
        watch->SetAttackTarget(player.Game().GetTick(), member.get());
        watch->PushOrder(std::make_shared<DRAV::CAttackOrder>(member->GetId()), false);
        fighters.push_back(watch);
        ++placed;
    }
    const auto struck = [&] {
        for (const auto& member : party)
            if (member->GetDamageTaken() == 0) return false;
        return true;
    };
    bool fighting = false;
    {
        const CSpared spared(fighters);
        fighting = placed == party.size() && player.TickUntil(struck, 600);
    }
    bool standing = true;
    for (const auto& member : party) {
        standing = standing && member->IsAlive();
        if (member->IsAlive()) member->SetDamageTaken(member->GetMaxHitPoints() - 1);
    }
    stages.Keep(player, 1, "wiped",
                fighting && standing && party.size() == 3 && player.Game().IsQuestTagSet("hide_fought"));
}

// The marsh stage on the travel map: the party threatened the hide's lookouts and
// felled them, Captain Marrow came out at it, and while he fought it Marra was
// asked round in her punt; the game is saved with the map up. Set down below the
// hide with no hours passing on the way, the party arrives a few cells from a
// captain still hostile: an arrival that leaves him loose puts him upon it.
void PuntPastMarrow(CStages& stages) {
    if (!stages.Wanted(1, "punt")) return;
    DRAVCommon::GetRandomEngine().seed(5);
    Player player(QuillmereTest::kFighter);
    IntoTheMarshWithMarra(player);
    DRAV::CThing* lookout = QuillmereTest::WalkUpToTheHide(player);
    QuillmereTest::SeedTheFight();
    if (lookout) player.Talk(*lookout, {"Let the boatwright go, or we come through you."});
    while (const auto standing = player.Person("hide_lookout"))
        if (!player.Kill(standing)) break;
    const auto marrowOut = [&] {
        const auto marrow = player.Person("smuggler_captain");
        return marrow && marrow->IsHostile();
    };
    player.TickUntil(marrowOut, 300);
    if (const auto marra = player.Person("reed_witch"); marra && marrowOut())
        player.Talk(*marra, {"Take us round to the hide in your punt."});
    stages.Keep(player, 1, "punt",
                marrowOut() && player.Main()->IsAlive() && player.JourneyMap() &&
                    player.Area().GetName() == "reed_marsh");
}

// The landing with the hero fallen: past the hide, she went alone into the
// shallows and the drowned watch took her, and Marra, still standing, walked the
// party home with Orrin by the smugglers' trail. She lies fallen until the party
// rests: Hollis's room, or a wipe-out.
void HeroFallenAtTheLanding(CStages& stages) {
    if (!stages.Wanted(1, "fallen")) return;
    DRAVCommon::GetRandomEngine().seed(5);
    Player player(QuillmereTest::kTalker);
    IntoTheMarshWithMarra(player);
    QuillmereTest::BluffPastTheLookouts(player);
    QuillmereTest::FreeOrrin(player);
    QuillmereTest::HeroFallsInTheShallows(player);
    const auto marra = player.Person("reed_witch");
    stages.Keep(player, 1, "fallen",
                !player.Main()->IsAlive() && marra && marra->IsPartyMember() &&
                    player.Area().GetName() == "reedwater_landing" && player.Game().GetGold() >= 4);
}

}  // namespace

std::vector<Stage> MakeStages(const std::string& folder, int chapter, const std::string& only) {
    std::filesystem::create_directories(folder);
    CStages stages(folder, chapter, only);
    stages.New(1);
    stages.New(2);
    bool story = false;
    for (const char* name : kReedwaterStages) story = story || stages.Wanted(1, name);
    for (const char* name : kAshcombeStages) story = story || stages.Wanted(2, name);
    if (story) PlayTheStory(stages);
    WatchAtTheBridge(stages);
    PuntPastMarrow(stages);
    WardenHoldsMarra(stages);
    WipedOutByTheWatch(stages);
    WardenHoldsMarraBehind(stages);
    HeroFallenAtTheLanding(stages);
    return stages.Take();
}

}  // namespace QuillmerePlaySweep
