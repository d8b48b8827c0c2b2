#pragma once
// The AIs that need no spell bookkeeping: stand, charge, forcetalk, wander, shoot
// and followparty.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/brain/ai.h"

namespace DRAV {

// Stays put; may keep its sneak power on.
class CAIStand : public CAI {
public:
    // Reads the words after "stand" up to the end of the element: each must be "sneak".
    explicit CAIStand(DRAVCommon::CDataFileReader& reader);
    explicit CAIStand(bool sneak) : m_sneak(sneak) {}

    std::shared_ptr<CAI> Clone() const override;
    void IssueOrders(CEngine& engine, CActor& actor) override;
    void LoadState(DRAVCommon::CDataFileReader&) override {}
    void SaveState(DRAVCommon::CDataFileWriter&) const override {}

    bool GetSneak() const { return m_sneak; }

private:
    bool m_sneak = false;
};

// Attacks the nearest enemy, switching its strongest combat power on for the strike.
class CAICharge : public CAI {
public:
    // Reads the words after "charge" up to the end of the element: each must be
    // "spellcaster", which makes enemy spellcasters count as nearer.
    explicit CAICharge(DRAVCommon::CDataFileReader& reader);
    explicit CAICharge(std::uint32_t flags) : m_flags(flags) {}

    // The clone chooses its power anew.
    std::shared_ptr<CAI> Clone() const override;
    void IssueOrders(CEngine& engine, CActor& actor) override;
    void LoadState(DRAVCommon::CDataFileReader&) override {}
    void SaveState(DRAVCommon::CDataFileWriter&) const override {}

    std::uint32_t GetFlags() const { return m_flags; }

    // The power is chosen once per AI object; none is a valid choice.
    bool IsPowerChosen() const { return m_powerChosen; }
    const CSpell* GetPower() const { return m_power; }
    void SetChosenPower(const CSpell* power) {
        m_powerChosen = true;
        m_power = power;
    }
    bool IsPowerStarted() const { return m_powerStarted; }
    void SetPowerStarted(bool started) { m_powerStarted = started; }

private:
    // The strongest usable combat power, once for the AI's life; none is a choice too.
    void ChoosePower(const CActor& actor);

    std::uint32_t m_flags = 0;
    bool m_powerChosen = false;
    const CSpell* m_power = nullptr;
    bool m_powerStarted = false;
};

// Walks up to a party member within range and starts a conversation, unless one
// of its quest tags is set.
class CAIForceTalk : public CAI {
public:
    // Reads the range (an unsigned number) and the tag names up to the end of the element.
    explicit CAIForceTalk(DRAVCommon::CDataFileReader& reader);
    CAIForceTalk(std::uint32_t range, std::vector<std::string> tags)
        : m_range(range), m_tags(std::move(tags)) {}

    std::shared_ptr<CAI> Clone() const override;
    void IssueOrders(CEngine& engine, CActor& actor) override;
    // Nothing is saved: a loaded game lets a party standing in range be, as if
    // it had just left a talk there, since a load is no step towards anyone.
    void LoadState(DRAVCommon::CDataFileReader&) override { m_loaded = true; }
    void SaveState(DRAVCommon::CDataFileWriter&) const override {}

    std::uint32_t GetRange() const { return m_range; }
    const std::vector<std::string>& GetTags() const { return m_tags; }

private:
    std::uint32_t m_range = 0;
    std::vector<std::string> m_tags;
    // The conversations begun as this one last looked; none before its first look.
    static constexpr std::uint32_t kNotLooked = UINT32_MAX;
    std::uint32_t m_talksSeen = kNotLooked;
    // A conversation began while the party stood in range: it is let be until it
    // has gone out of range, or has come on this much nearer than the nearest
    // member stood as it was let be.
    bool m_lettingBe = false;
    double m_lettingBeFrom = 0.0;
    bool m_loaded = false;
    static constexpr double kCameNearer = 1.0;

    // How far the nearest member of the party that is not sneaking stands.
    static double NearestMemberDistance(const CActor& actor);
    // Whether a member is on her way to strike `actor`: she came for a blow, not a
    // word, and a hail would end her walk every time she came nearer.
    static bool IsSetUpon(const CActor& actor);
};

// Strolls around a home point, which is fixed on its first stroll.
class CAIWander : public CAI {
public:
    // The factory reads the radius; a home x of 0 means that no home is set yet.
    CAIWander(double radius, double homeX, double homeY) : m_radius(radius), m_homeX(homeX), m_homeY(homeY) {}

    // The clone keeps the home.
    std::shared_ptr<CAI> Clone() const override;
    void IssueOrders(CEngine& engine, CActor& actor) override;
    // The block "ai-wander": home x, home y.
    void LoadState(DRAVCommon::CDataFileReader& reader) override;
    void SaveState(DRAVCommon::CDataFileWriter& writer) const override;

    double GetRadius() const { return m_radius; }
    double GetHomeX() const { return m_homeX; }
    double GetHomeY() const { return m_homeY; }
    void SetHome(double x, double y) {
        m_homeX = x;
        m_homeY = y;
    }

private:
    double m_radius = 0.0;
    double m_homeX = 0.0;
    double m_homeY = 0.0;
};

// Keeps re-aiming at the nearest reachable enemy.
class CAIShoot : public CAI {
public:
    CAIShoot() = default;

    std::shared_ptr<CAI> Clone() const override;
    void IssueOrders(CEngine& engine, CActor& actor) override;
    void LoadState(DRAVCommon::CDataFileReader&) override {}
    void SaveState(DRAVCommon::CDataFileWriter&) const override {}
};

// A follower that keeps close to its nearest ally.
class CAIFollowParty : public CAI {
public:
    CAIFollowParty() = default;

    std::shared_ptr<CAI> Clone() const override;
    void IssueOrders(CEngine& engine, CActor& actor) override;
    void LoadState(DRAVCommon::CDataFileReader&) override {}
    void SaveState(DRAVCommon::CDataFileWriter&) const override {}
};

}  // namespace DRAV
