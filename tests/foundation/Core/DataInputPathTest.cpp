#include "Vantor/Core/Interfaces/IDataInput.h"

#include <gtest/gtest.h>

TEST(DataInputPath, NamesItsPathAndYieldsNoBytes)
{
    const Vantor::SP<Vantor::Core::IDataInput> input =
        Vantor::Core::DataInputPath::Create(Vantor::ioPath("cdda:///dev/sr0#track7.cda"));
    char byte = 0;
    EXPECT_EQ(input->GetPath().utf8string(), "cdda:///dev/sr0#track7.cda");
    EXPECT_EQ(input->Read(&byte, 1), 0u);
    EXPECT_EQ(input->GetRefCount(), 1);
}
