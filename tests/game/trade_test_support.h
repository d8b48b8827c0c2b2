#pragma once
// The shell on the sample with a running game of the engine fixture: Wren on the
// landing, the dialogs built on the recording device.

#include <memory>
#include <string>

#include "dialog_test_support.h"
#include "engine/engine.h"
#include "support/sample_game.h"
#include "world/actor.h"
#include "world/game.h"
#include "world/item.h"

namespace QuillmereTest {

class ShellWithGame : public ShellOnSample {
public:
    ShellWithGame() {
        CDRAVAppTestAccess::SetEngine(app, game.EnginePtr());
        game.DrainEvents();
    }

    DRAV::CActor& Wren() { return *game.Main(); }
    // A monster of the sample two units east of Wren, within talking reach.
    std::shared_ptr<DRAV::CActor> Beside(const std::string& key) {
        std::shared_ptr<DRAV::CActor> actor = game.Spawn(key, 3, 2);
        if (actor) actor->FinalizeMove(Wren().GetX() + 2, Wren().GetY());
        return actor;
    }
    std::shared_ptr<DRAV::CItem> MakeItem(const std::string& key, std::int32_t count) {
        return game.Module().CreateItem(key, count, game.Game().NewThingId(DRAV::THING_ITEM), 0);
    }
    template <typename Dialog>
    Dialog* Current() {
        return dynamic_cast<Dialog*>(app.GetCurrentDialog().get());
    }
    // The current dialog answers the key as the window procedure hands it on.
    void Key(int key) { app.DeliverKeyToDialog(key, false); }

    SampleGame game;
};

}  // namespace QuillmereTest
