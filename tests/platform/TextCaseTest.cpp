#include <gtest/gtest.h>

#include "platform/TextCase.h"

using namespace tagwell;

TEST(TextCase, FoldsOnlyAsciiLettersAndKeepsOtherBytes)
{
    EXPECT_EQ(TextCase::lower("SimulatePLC.PHASED.Ramp1"), "simulateplc.phased.ramp1");
    EXPECT_EQ(TextCase::upper("{2c6f3b8e-51a4}"), "{2C6F3B8E-51A4}");
    // The bytes of a multi-byte character stay as they are.
    EXPECT_EQ(TextCase::lower("\xC3\x84RGER_Z"), "\xC3\x84rger_z");
    EXPECT_EQ(TextCase::upper("\xC3\xA4rger"), "\xC3\xA4RGER");
}
