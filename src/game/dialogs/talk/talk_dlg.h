#pragma once
// One step of a conversation: the lines the partner's state said and the replies
// it offers, numbered from 1. Choosing a reply closes the dialog; its close action
// opens the next step, the partner's store, or nothing when the talk is over.
// Every step is a talk order the engine runs at once; the dialog only reads back
// what the step produced. While the page waits, a tick or a script may take
// either of the two away, so it keeps their ids and the names it shows, and looks
// the two up again whenever it acts.

#include <cstddef>
#include <string>
#include <vector>

#include "game/dialogs/dialog.h"
#include "rules/kinds/thing_id.h"

namespace DRAV {
class CActor;
class CTalkEvent;
class CTalkTarget;
}  // namespace DRAV

class CTalkDlg : public CDRAVDlg {
public:
    static constexpr int kFirstReplyId = 100;

    // The first step, from the engine's talk event. Code 2 when the talker or the
    // partner is not in the current area; code 3 when the engine refuses the step.
    CTalkDlg(CDRAVApp* app, const DRAV::CTalkEvent& event);
    // The step that the partner's reply `choice` (from 0) leads to.
    CTalkDlg(CDRAVApp* app, DRAV::CActor* talker, DRAV::CTalkTarget* partner, std::size_t choice);

    // Opens the conversation a talk event starts. A talker or partner missing
    // from the area, or a first step the engine refuses, ends it at once with a
    // line in the message log; nothing is left on the dialog stack.
    static void Open(CDRAVApp& app, const DRAV::CTalkEvent& event);

    DRAV::ThingId GetPartnerId() const;
    const std::vector<std::string>& GetLines() const { return m_lines; }
    const std::vector<std::string>& GetReplies() const { return m_replies; }

    std::string GetTitle() override;
    void CreateControls(RECT area, DRAVUI::CUIManager& container) override;
    bool OnButton(int id) override { return id >= kFirstReplyId && id < kFirstReplyId + 100; }
    bool OnKey(int key, bool shift, int* result) override;
    void OnClose(int result) override;

private:
    struct Pair {
        DRAV::CActor* talker = nullptr;
        DRAV::CTalkTarget* partner = nullptr;
    };

    void Begin(DRAV::CActor* talker, DRAV::CTalkTarget* partner);
    void EnterState(const std::string& state, const std::string& reply);
    // The reply that leads nowhere is said too, as every reply is; it ends the talk.
    void SayLastReply(DRAV::CActor& talker, const std::string& reply);
    // The two as the area holds them now, or false when a script or a tick took
    // either away.
    bool FindAgain(Pair& found) const;
    // The same, or the talk broken off when either has gone.
    Pair Present() const;

    DRAV::ThingId m_talkerId = 0;
    DRAV::ThingId m_partnerId = 0;
    std::string m_title;
    std::vector<std::string> m_lines;
    std::vector<std::string> m_replies;
};

