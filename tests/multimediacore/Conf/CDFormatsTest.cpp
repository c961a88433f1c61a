#include "Vantor/Conf/CDFormats.h"

#include <gtest/gtest.h>

TEST(CDFormats, ListsCdaUnlessTheHostConfiguresOtherNames)
{
    EXPECT_EQ(Vantor::Conf::GetCDFormatList(), std::vector<std::string>{"cda"});
}
