#pragma once
// The one layout flag word every widget shares: bit 0 chooses the large layout.

#include <cstdint>

namespace DRAVUI {

class CUIConfig {
public:
    static constexpr std::uint32_t LARGE_LAYOUT = 1;

    std::uint32_t flags = 0;

    bool IsLarge() const { return (flags & LARGE_LAYOUT) != 0; }
    // The layout size of the two: `large` in the large layout, else `small`.
    int Pick(int large, int small) const { return IsLarge() ? large : small; }
};

}  // namespace DRAVUI
