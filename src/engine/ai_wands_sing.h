#pragma once
// The AIs that wrap a backup AI: wand use, and keeping a song going.

#include <memory>

#include "engine/ai.h"

namespace DRAV {

// Fires the best wand at the nearest enemy; without wands the backup AI drives the actor.
class CAIWands : public CAI {
public:
    // Reads the nested "ai" element with the backup AI.
    explicit CAIWands(DRAVCommon::CDataFileReader& reader);
    // Code 4 without a backup AI.
    explicit CAIWands(std::shared_ptr<CAI> backup);

    void IssueOrders(CEngine& engine, CActor& actor) override;
    void DropUnknownSpells(const SpellMap& spells, const std::string& owner) override;

    // The clone looks for wands again.
    std::shared_ptr<CAI> Clone() const override;
    // The block "ai-wands" holding only the backup AI's block.
    void LoadState(DRAVCommon::CDataFileReader& reader) override;
    void SaveState(DRAVCommon::CDataFileWriter& writer) const override;

    const std::shared_ptr<CAI>& GetBackup() const { return m_backup; }
    bool IsOutOfWands() const { return m_outOfWands; }
    void SetOutOfWands() { m_outOfWands = true; }

private:
    std::shared_ptr<CAI> m_backup;
    bool m_outOfWands = false;
};

// Lets the backup AI drive the actor and keeps the actor's best song playing.
class CAISing : public CAI {
public:
    // Reads the nested "ai" element with the backup AI.
    explicit CAISing(DRAVCommon::CDataFileReader& reader);
    // Code 4 without a backup AI.
    explicit CAISing(std::shared_ptr<CAI> backup);

    void IssueOrders(CEngine& engine, CActor& actor) override;
    void DropUnknownSpells(const SpellMap& spells, const std::string& owner) override;

    // The clone chooses its song anew.
    std::shared_ptr<CAI> Clone() const override;
    // The block "ai-sing" holding only the backup AI's block.
    void LoadState(DRAVCommon::CDataFileReader& reader) override;
    void SaveState(DRAVCommon::CDataFileWriter& writer) const override;

    const std::shared_ptr<CAI>& GetBackup() const { return m_backup; }
    // The song is chosen once per AI object; none is a valid choice.
    bool IsSongChosen() const { return m_songChosen; }
    const CSpell* GetSong() const { return m_song; }
    void SetChosenSong(const CSpell* song) {
        m_songChosen = true;
        m_song = song;
    }

private:
    std::shared_ptr<CAI> m_backup;
    bool m_songChosen = false;
    const CSpell* m_song = nullptr;
};

}  // namespace DRAV
