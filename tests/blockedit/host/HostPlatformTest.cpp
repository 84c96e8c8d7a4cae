#include <gtest/gtest.h>

#include "host/HostPlatform.h"

TEST(HostPlatform, KindFromProductName) {
    EXPECT_EQ(CHostPlatform::kindFromProductName("AutoCAD"), CHostPlatform::kAutoCAD);
    EXPECT_EQ(CHostPlatform::kindFromProductName("AutoCAD LT"), CHostPlatform::kAutoCADLT);
    EXPECT_EQ(CHostPlatform::kindFromProductName("autocad lt 2018"), CHostPlatform::kAutoCADLT);
    EXPECT_EQ(CHostPlatform::kindFromProductName("BricsCAD V21"), CHostPlatform::kBricsCAD);
    EXPECT_EQ(CHostPlatform::kindFromProductName("Brinmo generic host"), CHostPlatform::kUnknown);
    EXPECT_EQ(CHostPlatform::kindFromProductName(""), CHostPlatform::kUnknown);
    // "autocad" wins over "bricscad" when a name holds both.
    EXPECT_EQ(CHostPlatform::kindFromProductName("BricsCAD for AutoCAD users"), CHostPlatform::kAutoCAD);
}
