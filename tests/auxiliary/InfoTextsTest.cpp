#include "auxiliary/InfoTexts.h"

#include <gtest/gtest.h>

namespace {

class InfoTextsTest : public ::testing::Test {
protected:
    void SetUp() override { ResetAppState(); }
    void Head(int ch, int16_t type, const QString& name, const QString& serial, const QString& note = {}) {
        App().Channels[ch].HeadType = type;
        App().Channels[ch].HeadName = name;
        App().Channels[ch].HeadSerial = serial;
        App().Channels[ch].SupportNote = note;
    }
};

TEST_F(InfoTextsTest, notConnectedShowsNoneAndDisconnected) {
    Head(0, 1, "XL30", "; s/n 123456");  // what a previous connection left
    InfoTexts t = BuildInfoTexts(App(), "1.23");
    EXPECT_FALSE(t.connected);
    EXPECT_EQ(t.deviceType, "Type: None");
    EXPECT_EQ(t.deviceVersion, "Version: None");
    EXPECT_EQ(t.headType1, "Type:Disconnected");
    EXPECT_EQ(t.serial1, "Serial Number: Disconnected");
    EXPECT_EQ(t.name1, "Name: Disconnected");
    EXPECT_FALSE(t.twoHeads);
}

TEST_F(InfoTextsTest, korvenShowsSupportNoteInPlaceOfType) {
    App().Connected = true;
    App().DeviceType = 4;
    Head(0, 2, "PE25", "0012345678", "This KORVEN does not support pyroelectric head");
    InfoTexts t = BuildInfoTexts(App(), "2.10");
    EXPECT_EQ(t.deviceType, "Type: KORVEN-TH");
    EXPECT_EQ(t.deviceVersion, "Version: 2.10");
    EXPECT_EQ(t.headType1, "This KORVEN does not support pyroelectric head");
    EXPECT_EQ(t.serial1, "Serial Number: 12345678");
    EXPECT_EQ(t.name1, "Name: PE25");
}

TEST_F(InfoTextsTest, singleChannelMeterShowsTypeEvenWithANote) {
    App().Connected = true;
    App().DeviceType = 0;
    Head(0, 1, "30A", "; s/n 98765432", "ignored here");
    InfoTexts t = BuildInfoTexts(App(), "3.29");
    EXPECT_EQ(t.headType1, "Type: Thermopile head");
    EXPECT_EQ(t.serial1, "Serial Number: 98765432");  // the last 8 characters
    EXPECT_EQ(t.head1Caption, "Head");
}

TEST_F(InfoTextsTest, dualMeterShowsBothChannelsWithFiveSerialCharacters) {
    App().Connected = true;
    App().DeviceType = 2;
    Head(0, 5, "RP", "; s/n 123456");
    InfoTexts t = BuildInfoTexts(App(), "2.50");
    EXPECT_TRUE(t.twoHeads);
    EXPECT_EQ(t.head1Caption, "Head Channel 'A'");
    EXPECT_EQ(t.headType1, "Type: Rapid Pulse head");
    EXPECT_EQ(t.serial1, "Serial Number: 23456");
    EXPECT_EQ(t.headType2, "Type: Disconnected");
    EXPECT_EQ(t.serial2, "Serial Number: Disconnected");
    EXPECT_EQ(t.name2, "Name: Disconnected");
}

}  // namespace
