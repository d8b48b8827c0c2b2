#pragma once
// A running game on the sample chapter, for engine tests, in one line:
//
//     auto game = QuillmereTest::StartSampleGame();
//
// The engine loads chapter 1 of the sample through CEngine::LoadModule (with its
// brains), makes a new main character named "Wren" (level 1, hit points rolled),
// begins the game and enters the start area: the party of one stands at the
// "dock" entry of Reedwater Landing, the game is in state 0 and one tick has run.
// A new game of another chapter, and the next chapter of a finished game:
//     QuillmereTest::SampleGame(2, create)          a new game of chapter 2
//     QuillmereTest::SampleGame::NextChapter(game)  the hero carried into chapter 2
// Then:
//     game.Spawn("reed_smuggler", 8, 6)   a monster of the sample at that cell
//     game.Tick(30)                       thirty engine ticks
//     game.DrainEvents()                  every queued event, oldest first
//     game.Arrive("reed_marsh", "landing")  the party comes in by that entry
//     game.EnterOpenArea(40, 20)          the party moves to a new open area of
//                                         plank floor, entry "here" at cell (1, 1)
// The engine is held by a shared pointer as the application holds it; Engine(),
// Game(), Area() and Main() reach the parts. Whoever includes this links the engine.

#include <cmath>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "common/data_file_reader.h"
#include "engine/engine.h"
#include "support/sample_module.h"
#include "world/actor.h"
#include "world/area.h"
#include "world/events/event.h"
#include "world/game.h"

namespace QuillmereTest {

class SampleGame {
public:
    SampleGame() : SampleGame([](DRAV::CActor& main) { main.SetName("Wren"); }) {}

    // The same, with the main character made by `create` before the game begins, as
    // the character-creation wizard fills in the new actor. The dock's welcome to a
    // new hero (the ferry's kit, the keeper's errand in the journal and the first
    // tutorial page) is put away unless `keepKit`, so that a test counts only the
    // items, quests and dialogs it gives.
    explicit SampleGame(const std::function<void(DRAV::CActor&)>& create, bool keepKit = false)
        : SampleGame(SampleFolderSource(), create, keepKit) {}

    // The same game on another source: the sample with an author's edit (EditedSampleSource).
    explicit SampleGame(std::shared_ptr<DRAVCommon::CDataFileFactory> source)
        : SampleGame(std::move(source), [](DRAV::CActor& main) { main.SetName("Wren"); }, false) {}

    SampleGame(std::shared_ptr<DRAVCommon::CDataFileFactory> source, const std::function<void(DRAV::CActor&)>& create,
               bool keepKit)
        : SampleGame(1, std::move(source)) {
        std::shared_ptr<DRAV::CActor> main = m_engine->NewGame();
        create(*main);
        m_engine->BeginNewGame(main);
        m_engine->EnterArea();
        if (!keepKit) PutAwayStartKit();
    }

    // A new game of `chapter`, begun with whatever its start entry gives.
    SampleGame(int chapter, const std::function<void(DRAV::CActor&)>& create) : SampleGame(chapter) {
        std::shared_ptr<DRAV::CActor> main = m_engine->NewGame();
        create(*main);
        m_engine->BeginNewGame(main);
        m_engine->EnterArea();
    }

    // The chapter after `finished`, as "Play Next Chapter" begins it: a new engine
    // on the next chapter, the main character carried over, the party at the
    // chapter's start.
    static SampleGame NextChapter(const SampleGame& finished) {
        SampleGame next(finished.Module().GetChapter() + 1);
        next.m_engine->NewChapterGame(finished.EnginePtr()->GetGame());
        next.m_engine->EnterArea();
        return next;
    }

    DRAV::CEngine& Engine() const { return *m_engine; }
    const std::shared_ptr<DRAV::CEngine>& EnginePtr() const { return m_engine; }
    DRAV::CGame& Game() const { return *m_engine->GetGame(); }
    const DRAV::CModule& Module() const { return *m_engine->GetModule(); }
    DRAV::CArea& Area() const { return *Game().GetCurrentArea(); }
    std::shared_ptr<DRAV::CActor> Main() const { return Game().GetMainActor(); }

    // A monster of definition `key`, idle, on the first free spot around the cell;
    // null when there is no room.
    std::shared_ptr<DRAV::CActor> Spawn(const std::string& key, std::uint32_t column, std::uint32_t row) const {
        std::shared_ptr<DRAV::CActor> actor = Area().CreateEncounterActor(key, "", 0, Module());
        return Area().PlaceActor(column, row, false, actor) ? actor : nullptr;
    }

    // The first living actor of definition `key` in the current area; null when none.
    DRAV::CActor* Person(const std::string& key) const {
        for (const auto& actor : Area().GetActors())
            if (actor->GetTemplateName() == key && actor->IsAlive()) return actor.get();
        return nullptr;
    }

    // An area "open" of `columns` x `rows` cells of free floor becomes current, and
    // the living party stands at its entry "here", cell (1, 1). The start area stays
    // cached, inactive, as after leaving it. `objects` are object elements of the
    // area file placed on the floor.
    DRAV::CArea& EnterOpenArea(std::uint32_t columns, std::uint32_t rows, const std::string& objects = "") const {
        return EnterDrawnArea(std::vector<std::string>(rows, std::string(columns, '.')), objects);
    }

    // The same with the area drawn one character a cell, a line a row: '#' a reed
    // wall, anything else plank floor.
    DRAV::CArea& EnterDrawnArea(const std::vector<std::string>& lines, const std::string& objects = "") const {
        std::ostringstream text;
        text << "<area> \"Open Ground\" true <rows> ( " << (lines.empty() ? 0 : lines.front().size()) << ' '
             << lines.size() << " )";
        for (const std::string& line : lines) {
            text << " <row>";
            for (const char cell : line) text << (cell == '#' ? " ( reed_wall n )" : " ( plank_floor n )");
            text << " </row>\n";
        }
        text << " </rows> <objects> " << objects << " </objects> <entries> <entry> here \"Here\" ( 1 1 ) </entry> </entries>"
             << " <exits> </exits> </area>";
        DRAV::CGame& game = Game();
        DRAV::CArea& left = Area();
        for (const auto& member : game.GetParty())
            if (member->GetArea() == &left) game.AddNonLocatedActor(left.RemoveActor(*member));
        left.MakeInactive();
        auto area = std::make_shared<DRAV::CArea>(&game);
        DRAVCommon::CDataFileReader reader(std::make_shared<std::istringstream>(text.str()), "open.drav");
        area->ReadAreaFile(reader, "", "open", Module(), DRAV::AREA_LOAD_FRESH, false);
        game.AddArea(area);
        game.SetCurrentArea("open");
        m_engine->PlacePartyAtEntry("here");
        return *area;
    }

    // The party travels to `entry` of `area` as a way out or a journey takes it, and
    // what its arrival queued is dropped.
    // After `away` ticks between the areas, on top of the journey's own hours.
    void Arrive(const std::string& area, const std::string& entry, std::uint32_t away = 0) const {
        Game().SetEntry(DRAV::AreaEntryPoint(area, entry), DRAV::AREA_LOAD_FRESH, "");
        Game().SetStateCode(DRAV::GAME_TRAVEL);
        m_engine->LeaveArea();
        Game().SetTick(Game().GetTick() + away);
        m_engine->EnterArea();
        DrainEvents();
    }

    void Tick(int count = 1) const {
        for (int i = 0; i < count; ++i) m_engine->RunTick();
    }

    std::vector<std::shared_ptr<DRAV::CEvent>> DrainEvents() const {
        std::vector<std::shared_ptr<DRAV::CEvent>> events;
        std::shared_ptr<DRAV::CEvent> event;
        while (Game().PopEvent(event)) events.push_back(event);
        return events;
    }

    // The tags, items and lines of the start kit and the errand, as the dock's
    // script gives them.
    static constexpr const char* kStartKitTag = "ferry_kit_given";
    // The kit's lines begin so, each naming what was given.
    static constexpr const char* kStartKitLine = "The party has gained ";
    static constexpr const char* kErrandTag = "smugglers_asked";

private:
    // The engine on `chapter` of the sample, with no game yet.
    explicit SampleGame(int chapter) : SampleGame(chapter, SampleFolderSource(chapter)) {}

    SampleGame(int chapter, std::shared_ptr<DRAVCommon::CDataFileFactory> source)
        : m_engine(std::make_shared<DRAV::CEngine>()) {
        m_engine->LoadModule(chapter, DRAV::CModuleVersionRange("Orvex", 5, 0), std::move(source));
    }

    void PutAwayStartKit() const {
        DRAV::CGame& game = Game();
        game.GetQuestTags().erase(kStartKitTag);
        game.GetQuestTags().erase(kErrandTag);
        game.GetJournal().clear();
        DRAV::CActor& main = *Main();
        while (!main.GetBackpackItems().empty()) main.RemoveFromBackpack(*main.GetBackpackItems().front());
        const auto welcome = [](const DRAV::CEvent& event) {
            if (const auto* line = dynamic_cast<const DRAV::CMessageEvent*>(&event))
                return (line->GetCode() == DRAV::MESSAGE_NOTICE && line->GetText().rfind(kStartKitLine, 0) == 0) ||
                       line->GetText().rfind("You have been assigned", 0) == 0 ||
                       line->GetText() == "Your Journal has been updated.";
            const auto* box = dynamic_cast<const DRAV::CDialogBoxEvent*>(&event);
            return box && box->GetCode() == DRAV::EVENT_TUTORIAL;
        };
        std::vector<std::shared_ptr<DRAV::CEvent>> kept;
        for (auto& event : DrainEvents())
            if (!welcome(*event)) kept.push_back(std::move(event));
        for (auto& event : kept) game.PushEvent(std::move(event));
    }

    std::shared_ptr<DRAV::CEngine> m_engine;
};

inline SampleGame StartSampleGame() { return SampleGame(); }

// `actor` put on a free spot of `area` round (x, y), the nearest rings first; false
// when there is none within three units.
inline bool PutNear(DRAV::CArea& area, DRAV::CActor& actor, double x, double y) {
    for (double away = 0.0; away < 3.0; away += 0.25)
        for (int k = 0; k < 16; ++k) {
            const double px = x + away * std::cos(k * 0.3927), py = y + away * std::sin(k * 0.3927);
            if (!area.CanMoveTo(actor, nullptr, px, py)) continue;
            actor.FinalizeMove(px, py);
            return true;
        }
    return false;
}

}  // namespace QuillmereTest
