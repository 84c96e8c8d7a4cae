#include <gtest/gtest.h>

#include <string>

#include "module/AreaSchedule.h"
#include "module/BlockListing.h"

// The whole metric file (header, rows, total, two empty lines, gross area, a name holding a comma
// left unquoted) is checked from a drawing in MaintenanceCommandsTest.
TEST(AreaSchedule, TheTotalTakesTheLastRowsUnits) {
    CAreaSchedule schedule(1);
    schedule.addSpace("Office", 12.26, 14.0, 0);
    schedule.addSpace("Store", 100.0, 40.0, 1);
    const std::string text = schedule.text();
    EXPECT_NE(text.find("\nOffice,12.3,m\u00B2,14.0,m\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\nStore,100.0,ft\u00B2,40.0,ft\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\nTotal,112.3,ft\u00B2,54.0,ft\n"), std::string::npos) << text;
}

TEST(AreaSchedule, WithoutSpacesTheTotalHasNoUnits) {
    CAreaSchedule schedule(2);
    schedule.addGrossArea("GROSS AREA", 40.0, 26.0, 1);
    EXPECT_EQ(schedule.text(),
              "Code,Area,Units,Perimeter,Units\n"
              "Total,0.00,,0.00,\n"
              "\n\n"
              "GROSS AREA,40.00,ft\u00B2,26.00,ft\n");
}

TEST(BlockListing, LinesCarryTwoDecimalsAndTheHandleInBothForms) {
    EXPECT_EQ(CBlockListing::blockLine("ROOM-12", "L1-012", 12.345, "2F1A", 2), "ROOM-12,L1-012,12.35,2F1A,12058,2\n");
    EXPECT_EQ(CBlockListing::assetLine("DESK", "3A0", 4), ",,,,,,DESK,3A0,928,4\n");
}

TEST(BlockListing, EightDigitHandlesAreSigned32BitLongerOnesPrintWhole) {
    EXPECT_EQ(CBlockListing::handleDecimal("7FFFFFFF"), "2147483647");
    EXPECT_EQ(CBlockListing::handleDecimal("FFFFFFFF"), "-1");
    EXPECT_EQ(CBlockListing::handleDecimal("000000001"), "1");  // leading zeros do not make it long
    EXPECT_EQ(CBlockListing::handleDecimal("100000000"), "4294967296");
    EXPECT_EQ(CBlockListing::handleDecimal("FFFFFFFFFFFFFFFF"), "18446744073709551615");
}
