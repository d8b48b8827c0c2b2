#pragma once
// The AIs that wrap a backup AI: wand use, and keeping a song going.

#include <memory>
#include <string>

#include "engine/brain/ai.h"
#include "world/thing.h"

namespace DRAV {

class CItem;

// An AI that leaves the actor to a backup AI except for its own one job. Its saved
// block holds nothing but the backup AI's block.
class CAIWithBackup : public CAI {
public:
    void DropUnknownSpells(const SpellMap& spells, const std::string& owner) override;
    void LoadState(DRAVCommon::CDataFileReader& reader) override;
    void SaveState(DRAVCommon::CDataFileWriter& writer) const override;

    const std::shared_ptr<CAI>& GetBackup() const { return m_backup; }

protected:
    // Reads the nested "ai" element with the backup AI.
    CAIWithBackup(DRAVCommon::CDataFileReader& reader, const char* stateBlock);
    // Code 4 without a backup AI.
    CAIWithBackup(std::shared_ptr<CAI> backup, const char* stateBlock);

    std::shared_ptr<CAI> m_backup;

private:
    const char* m_stateBlock;
};

// Fires the best wand at the nearest enemy, of those whose spell would change
// something there; without such a wand the backup AI drives the actor.
class CAIWands : public CAIWithBackup {
public:
    // Its saved block is "ai-wands".
    explicit CAIWands(DRAVCommon::CDataFileReader& reader);
    explicit CAIWands(std::shared_ptr<CAI> backup);

    void IssueOrders(CEngine& engine, CActor& actor) override;
    // The clone looks for wands again.
    std::shared_ptr<CAI> Clone() const override;

    // True while the backup AI drives: at the last look the actor had no wand it
    // could work, or none worth firing at its enemy.
    bool IsOutOfWands() const { return m_outOfWands; }
    void SetOutOfWands() { m_outOfWands = true; }

private:
    // Where `wand` is fired at `target`: the target, or the cell it stands in for a
    // tile spell; 0 when its spell would change nothing there.
    static ThingId WandAim(const CItem& wand, const CActor& actor, const CActor& target);

    bool m_outOfWands = false;
};

// Lets the backup AI drive the actor and keeps the actor's best song playing.
class CAISing : public CAIWithBackup {
public:
    // Its saved block is "ai-sing".
    explicit CAISing(DRAVCommon::CDataFileReader& reader);
    explicit CAISing(std::shared_ptr<CAI> backup);

    void IssueOrders(CEngine& engine, CActor& actor) override;
    // The clone chooses its song anew.
    std::shared_ptr<CAI> Clone() const override;

    // The song is chosen once per AI object; none is a valid choice.
    bool IsSongChosen() const { return m_songChosen; }
    const CSpell* GetSong() const { return m_song; }
    void SetChosenSong(const CSpell* song) {
        m_songChosen = true;
        m_song = song;
    }

private:
    bool m_songChosen = false;
    const CSpell* m_song = nullptr;
};

}  // namespace DRAV
