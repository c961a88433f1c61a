#include "Vantor/Conf/CDFormats.h"

#include <gtest/gtest.h>

using Vantor::Conf::GetCDFormatList;
using Vantor::Conf::SetCDFormatList;

TEST(CDFormats, ListsCdaUnlessConfigured)
{
    EXPECT_EQ(GetCDFormatList(), std::vector<std::string>{"cda"});
}

TEST(CDFormats, HostCanReplaceTheList)
{
    const std::vector<std::string> original = GetCDFormatList();
    SetCDFormatList({"cda", "cdda"});
    EXPECT_EQ(GetCDFormatList(), (std::vector<std::string>{"cda", "cdda"}));
    SetCDFormatList(original);
    EXPECT_EQ(GetCDFormatList(), original);
}
