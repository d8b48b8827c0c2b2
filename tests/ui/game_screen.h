#pragma once
// The game screen's widgets over a running sample game, laid out the way the
// application lays them out, for the pixel test that saves its picture and the
// benchmark that times its frames: the hover window (8, 8), the clock (id 6) in
// the bottom-right corner, the action bar (id 200, slots 210 to 219) for the main
// character, the mini-map (id 3) of the current area and one portrait per party
// member (ids 100 + i). Every widget but the clock has flag 512.

#include <map>
#include <memory>
#include <string>

#include "support/sample_game.h"
#include "ui/ui_action_element.h"
#include "ui/ui_action_window.h"
#include "ui/ui_clock_button.h"
#include "ui/ui_hover_window.h"
#include "ui/ui_manager.h"
#include "ui/ui_mini_map.h"

namespace QuillmereTest {

// The main character's quick actions: attack, talk, the action dialog, then a
// tonic and the sneak power in the assignable slots; slot 0 is current.
class SampleQuickActions : public DRAVUI::IQuickActionOwner {
public:
    explicit SampleQuickActions(const SampleGame& game) : m_game(game) {}

    DRAV::CActor* GetSelectedActor() override { return m_game.Main().get(); }
    int GetQuickActionKind(const DRAV::CActor&, int slot) override {
        static const std::map<int, int> kinds = {{0, 2}, {1, 12}, {2, 20}, {4, 10}};
        const auto found = kinds.find(slot);
        return found == kinds.end() ? 0 : found->second;
    }
    std::string GetQuickActionItem(const DRAV::CActor&, int slot) override { return slot == 4 ? "river_tonic" : ""; }
    std::string GetQuickActionSpell(const DRAV::CActor&, int) override { return ""; }
    int GetCurrentQuickAction(const DRAV::CActor&) override { return 0; }
    const DRAV::CModule& GetModule() override { return m_game.Module(); }

private:
    const SampleGame& m_game;
};

struct GameScreen {
    std::shared_ptr<DRAVUI::CUIHoverWindow> hover;
    std::shared_ptr<DRAVUI::CUIClockButton> clock;
    std::shared_ptr<DRAVUI::CUIActionWindow2> bar;
    std::shared_ptr<DRAVUI::CUIMiniMap> miniMap;
};

// Builds the screen for a client area of `width` x `height` logical units into
// `manager` (cleared first); the caller realizes it.
inline GameScreen BuildGameScreen(DRAVUI::CUIManager& manager, const SampleGame& game,
                                  DRAVUI::IQuickActionOwner& actions, LONG width, LONG height) {
    using namespace DRAVUI;
    manager.Clear();
    const auto config = manager.GetConfig();
    GameScreen screen;
    screen.hover = std::make_shared<CUIHoverWindow>(config);
    screen.hover->MoveTo(POINT{8, 8});
    screen.hover->SetFlag(UIF_BACKGROUND, true);
    manager.AddElement(screen.hover);

    screen.clock = std::make_shared<CUIClockButton>(6, config);
    screen.clock->SetRect(RECT{width - 56, height - 56, width - 8, height - 8});
    screen.clock->SetState(true, false);
    manager.AddElement(screen.clock);

    screen.bar = std::make_shared<CUIActionWindow2>(200, 210, &actions, nullptr, config);
    screen.bar->SetRect(RECT{width - 56, height - 64 - 480, width - 8, height - 64});
    screen.bar->SetFlag(UIF_BACKGROUND, true);
    manager.AddElement(screen.bar);

    DRAV::CGame& state = game.Game();
    std::shared_ptr<DRAV::CArea> area = state.GetAreas().at(state.GetCurrentArea()->GetName());
    screen.miniMap = std::make_shared<CUIMiniMap>(3, area, config);
    screen.miniMap->SetRect(RECT{width - 8 - 202, 8, width - 8, 8 + 130});
    screen.miniMap->SetFlag(UIF_BACKGROUND, true);
    screen.miniMap->m_centreX = static_cast<float>(game.Main()->GetX());
    screen.miniMap->m_centreY = static_cast<float>(game.Main()->GetY());
    manager.AddElement(screen.miniMap);

    const auto& party = state.GetParty();
    for (std::size_t i = 0; i < party.size(); ++i) {
        auto portrait = std::make_shared<CUIActionElement2>(config, 100 + static_cast<int>(i), true, false);
        ElementInfo::DescribeThing(portrait->GetInfo(), party[i].get(), nullptr);
        portrait->MoveTo(POINT{8 + 56 * static_cast<LONG>(i), height - 56});
        portrait->SetFlag(UIF_BACKGROUND, true);
        portrait->SetFlag(UIF_SELECTED, i == 0);
        manager.AddElement(portrait);
    }
    return screen;
}

}  // namespace QuillmereTest
