#include "platform/MessageBox.h"

#include <gtest/gtest.h>

TEST(MessageBox, CaptureRecordsMessagesInOrderAndRestoresPresenter)
{
    std::vector<ShownMessage> outer;
    MessagePresenter previous = SetMessagePresenter([&](const ShownMessage& m) { outer.push_back(m); });
    {
        MessageCapture capture;
        ShowMessageBox("Error!", "first");
        ShowMessageBox("ERROR", "second");
        ASSERT_EQ(capture.Messages().size(), 2u);
        EXPECT_EQ(capture.Messages()[0], (ShownMessage{"Error!", "first"}));
        EXPECT_EQ(capture.Texts(), (std::vector<std::string>{"first", "second"}));
    }
    ShowMessageBox("Brumaria", "after");
    ASSERT_EQ(outer.size(), 1u);
    EXPECT_EQ(outer[0].text, "after");
    SetMessagePresenter(previous);
}
