#pragma once
// How many of a stack to buy or sell: "+" and "-" set the count, "Buy" or "Sell"
// trades it in one store order, "Cancel" trades nothing.

#include <cstdint>
#include <string>

#include "game/dialogs/dialog.h"

namespace DRAV {
class CActor;
class CItem;
}  // namespace DRAV
namespace DRAVUI {
class CUIStaticText;
}

class CStoreCountDlg : public CDRAVDlg {
public:
    static constexpr int kTrade = 1;
    static constexpr int kCancel = 2;
    static constexpr int kMore = 3;
    static constexpr int kLess = 4;

    CStoreCountDlg(CDRAVApp* app, DRAV::CActor* member, DRAV::CActor* keeper, bool buying, DRAV::CItem* item);

    std::string GetTitle() override;
    void CreateControls(RECT area, DRAVUI::CUIManager& container) override;
    bool OnButton(int id) override;
    bool OnKey(int key, bool shift, int* result) override;
    void OnClose(int result) override;

    std::string GetQuestion() const;
    std::uint32_t GetCount() const { return m_count; }
    std::uint32_t GetMaxCount() const { return m_maxCount; }
    std::uint32_t GetUnitPrice() const { return m_unitPrice; }

private:
    void UpdateCountText();

    DRAV::CActor* m_member;
    DRAV::CActor* m_keeper;
    bool m_buying;
    DRAV::CItem* m_item;
    std::uint32_t m_unitPrice = 0;
    std::uint32_t m_count = 1;
    std::uint32_t m_maxCount = 0;
    DRAVUI::CUIStaticText* m_countText = nullptr;
};
