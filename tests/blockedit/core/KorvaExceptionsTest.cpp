#include <gtest/gtest.h>

#include <stdexcept>

#include "core/EXKinds.h"
#include "core/EXUnhandled.h"
#include "core/KorvaExceptions.h"
#include "core/ModuleInfo.h"
#include "engine/dialogs/MessageBox.h"
#include "engine/editor/HostOutput.h"

namespace {

CEXHatchBlock hatchFailure(const std::string& block) {
    return CEXHatchBlock(block, "1F", kModuleDescription, "Hatch.cpp", "CHatch::applyToBlock");
}

}  // namespace

TEST(KorvaExceptions, CollectsInOrderAndOwnsTheChains) {
    CKorvaExceptions errors;
    errors.add(hatchFailure("ROOM-1"));
    errors.add(CEXUnhandled(kModuleDescription, "Category.cpp", "CCategory::applyToDWG", 0,
                            std::make_unique<CEXHatchTooDense>("korva block ROOM-2", "ANSI31", 0.01,
                                                               kModuleDescription, "Hatch.cpp", "CHatch::apply")));
    ASSERT_EQ(errors.getCount(), 2u);
    EXPECT_NE(dynamic_cast<const CEXHatchBlock*>(&errors.getAt(0)), nullptr);
    EXPECT_EQ(errors.getAt(1).getInnerException()->getSeverityText(), "medium");
    EXPECT_THROW(errors.getAt(2), std::out_of_range);

    {
        cad::RecordedMessageBoxes boxes;
        errors.showAll();
        ASSERT_EQ(boxes.boxes().size(), 2u);
        EXPECT_EQ(boxes.boxes()[0].text,
                  "Hatch::CHatch::applyToBlock\n\nUnable to hatch Korva Block: ROOM-1. Handle: 1F. Please check the "
                  "polyline is closed.");
        EXPECT_EQ(boxes.boxes()[1].text,
                  "Category::CCategory::applyToDWG\n\tHatch::CHatch::apply\n\nUnable to hatch korva block ROOM-2. "
                  "ANSI31 set at scale 0.01 is too dense to be displayed.");
    }
    {
        cad::CapturedOutput output;
        errors.printAll();
        EXPECT_EQ(output.text(),
                  "CHatch::applyToBlock\n\nUnable to hatch Korva Block: ROOM-1. Handle: 1F. Please check the "
                  "polyline is closed.\n"
                  "CCategory::applyToDWG\n\tCHatch::apply\n\nUnable to hatch korva block ROOM-2. ANSI31 set at "
                  "scale 0.01 is too dense to be displayed.\n");
    }

    errors.deleteObjects();
    EXPECT_EQ(errors.getCount(), 0u);
    EXPECT_THROW(errors.getAt(0), std::out_of_range);
    cad::RecordedMessageBoxes none;
    errors.showAll();
    EXPECT_TRUE(none.boxes().empty());
}
