#pragma once
// Malformed-input tests ask which CDRAVException a step throws.

#include <cstdint>

#include "common/exception.h"

namespace QuillmereTest {

// The code of the CDRAVException that `action` throws, or 0 when it throws none.
template <typename Action>
std::int32_t ErrorCodeOf(Action&& action) {
    try {
        action();
    } catch (const CDRAVException& error) {
        return error.GetCode();
    }
    return 0;
}

}  // namespace QuillmereTest
