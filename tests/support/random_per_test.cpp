// Compiled into every test program that links the test support. The game's random
// sources live as long as the process: without this, a test would roll on from
// wherever the tests run before it left them, and pass or fail by the order it
// runs in. Each test starts from the sources as the program starts them, as it
// does when CTest runs it alone.

#include <gtest/gtest.h>

#include "common/random.h"

namespace {

class FreshRandomPerTest final : public testing::EmptyTestEventListener {
    void OnTestStart(const testing::TestInfo&) override {
        DRAVCommon::GetRandomEngine().seed(std::mt19937::default_seed);
        DRAVCommon::GetDisplayRandomEngine().seed(std::mt19937::default_seed);
    }
};

const bool kInstalled = [] {
    testing::UnitTest::GetInstance()->listeners().Append(new FreshRandomPerTest);
    return true;
}();

}  // namespace
