#include <gtest/gtest.h>

#include "common/exception.h"
#include "common/sdl_init.h"

TEST(Exception, CarriesCodeAndMessage) {
    try {
        throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "bad word");
    } catch (const CDRAVException& e) {
        EXPECT_EQ(e.GetCode(), 2);
        EXPECT_EQ(e.GetMessage(), "bad word");
        EXPECT_STREQ(e.what(), "Error 2: bad word");
    }
}

TEST(Exception, SdlFailureIsCaughtAsDravExceptionWithCode11) {
    try {
        throw DRAVSDL::CSDLException();
    } catch (const CDRAVException& e) {
        EXPECT_EQ(e.GetCode(), 11);
        EXPECT_EQ(e.GetMessage().rfind("SDL Error: ", 0), 0u);
    }
}
