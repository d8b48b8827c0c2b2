#pragma once
// Runs a statement that should throw CDRAVException and hands back what it threw,
// so a test can check both the code and that the message names the culprit.

#include <gtest/gtest.h>

#include <optional>

#include "common/exception.h"

namespace QuillmereTest {

template <typename F>
std::optional<CDRAVException> CatchDrav(F&& statement) {
    try {
        statement();
    } catch (const CDRAVException& e) {
        return e;
    }
    return std::nullopt;
}

}  // namespace QuillmereTest

// Expects `statement` to throw CDRAVException with `code`.
#define EXPECT_DRAV_CODE(statement, code)                                               \
    do {                                                                                \
        auto caught_ = ::QuillmereTest::CatchDrav([&] { statement; });                  \
        if (caught_) EXPECT_EQ(caught_->GetCode(), (code)) << caught_->GetMessage();    \
        else ADD_FAILURE() << "no CDRAVException from " #statement;                     \
    } while (0)

// The message of the CDRAVException `statement` throws ("" and a failure when none).
#define DRAV_MESSAGE(statement) \
    ::QuillmereTest::CatchDrav([&] { statement; }).value_or(CDRAVException(0, "(nothing thrown)")).GetMessage()
