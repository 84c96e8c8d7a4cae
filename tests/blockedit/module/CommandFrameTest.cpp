#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "core/EXKinds.h"
#include "core/HostError.h"
#include "core/KorvaWrap.h"
#include "core/ModuleInfo.h"
#include "engine/dialogs/MessageBox.h"
#include "engine/editor/HostOutput.h"
#include "module/CommandFrame.h"

namespace {

// Work two calls deep, as a handler's work is written: a wrapped helper over a failing check.
void checkColour(const std::string& colour) {
    korvaWrap("/src/blockedit/core/Utilities.cpp", "CUtilities::parseHashString", [&] {
        throw CEXInvalidHexColour(colour, "CUtilities", "Utilities.cpp", "CUtilities::hexToColour");
    });
}

// Records when it is built and released.
struct Tracked {
    Tracked(std::vector<std::string>& log, std::string name) : log_(log), name_(std::move(name)) {
        log_.push_back("build " + name_);
    }
    ~Tracked() { log_.push_back("release " + name_); }
    std::vector<std::string>& log_;
    std::string name_;
};

// Notes each box in the log, so that the order of report and release shows.
class LoggingBoxes : public cad::RecordedMessageBoxes {
public:
    explicit LoggingBoxes(std::vector<std::string>& log) : log_(log) {}
    cad::MessageBoxResult show(const std::string& caption, const std::string& text, cad::MessageBoxIcon icon,
                               cad::MessageBoxButtons buttons) override {
        log_.push_back("box");
        return RecordedMessageBoxes::show(caption, text, icon, buttons);
    }
    std::vector<std::string>& log_;
};

}  // namespace

// The title line ("Korva Edit Preferences 64.04.03.00" before the work, none for commands
// without a title) is in every script test transcript.
TEST(CommandFrame, ProgramExceptionShowsOneTraceUnderTheHandlerAndTheSessionGoesOn) {
    cad::CapturedOutput out;
    cad::RecordedMessageBoxes boxes;
    EXPECT_FALSE(CCommandFrame("blankThirdAttribute").run([] { checkColour("#12345"); }));
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].text,
              "blockEdit::blankThirdAttribute\n"
              "\tUtilities::CUtilities::parseHashString\n"
              "\t\tUtilities::CUtilities::hexToColour\n\n"
              "Invalid Hex Colour - #12345");
    EXPECT_EQ(out.text(), "");

    // The next command runs as usual.
    bool ran = false;
    EXPECT_TRUE(CCommandFrame("updateSpaces").run([&] { ran = true; }));
    EXPECT_TRUE(ran);
    EXPECT_EQ(boxes.boxes().size(), 1u);
}

TEST(CommandFrame, ForeignFailuresAndHostStatuses) {
    cad::CapturedOutput out;
    cad::RecordedMessageBoxes boxes;

    // Not a program exception: one exception in the chain, "unhandled error".
    CCommandFrame("updateSpaces").run([] { throw std::runtime_error("lost"); });
    CCommandFrame("updateTextSize").run([] { throw 42; });
    // A host status met directly in the handler's work names the line and the drawing.
    CCommandFrame("korvaRefreshTags").run([] { CHostError::check(cad::ErrorStatus::eWasErased, 17, "/plans/f3.dxf"); });
    ASSERT_EQ(boxes.boxes().size(), 3u);
    EXPECT_EQ(boxes.boxes()[0].text, "blockEdit::updateSpaces\n\nunhandled error");
    EXPECT_EQ(boxes.boxes()[1].text, "blockEdit::updateTextSize\n\nunhandled error");
    EXPECT_EQ(boxes.boxes()[2].text,
              "blockEdit::korvaRefreshTags\n\nThe following AutoCAD error occurred on line#17: " +
                  cad::statusText(cad::ErrorStatus::eWasErased) + ", whilst processing drawing /plans/f3.dxf.");

    // A handler with a fixed failure line prints it for foreign failures, but still shows program
    // exceptions in the box.
    CCommandFrame edit("blockEdit");
    edit.setTitle("Korva Block Edit").setFailureLine("\nUnhandled Error - Block Edit Failed\n");
    EXPECT_FALSE(edit.run([] { throw std::bad_alloc(); }));
    EXPECT_EQ(out.text(), "Korva Block Edit 64.04.03.00\n\nUnhandled Error - Block Edit Failed\n");
    EXPECT_EQ(boxes.boxes().size(), 3u);
    EXPECT_FALSE(edit.run([] { throw CEXCustom("no room", kModuleDescription, "Blocks.cpp", "CBlocks::find"); }));
    ASSERT_EQ(boxes.boxes().size(), 4u);
    EXPECT_EQ(boxes.boxes()[3].text, "blockEdit::blockEdit\n\tBlocks::CBlocks::find\n\nno room");
}

TEST(CommandFrame, WhatTheHandlerBuiltIsReleasedAfterTheReportOnEveryPath) {
    cad::CapturedOutput out;
    std::vector<std::string> log;
    LoggingBoxes boxes(log);
    {
        CCommandFrame frame("updateSpaces");
        frame.run([&] {
            frame.own<Tracked>(log, "drawing");
            frame.own<Tracked>(log, "blocks");
            throw CEXCustom("bad block", kModuleDescription, "Blocks.cpp", "CBlocks::add");
        });
        log.push_back("frame ends");
    }
    EXPECT_EQ(log, (std::vector<std::string>{"build drawing", "build blocks", "box", "frame ends", "release blocks",
                                             "release drawing"}));
    log.clear();
    {
        CCommandFrame frame("updateSpaces");
        frame.run([&] { frame.own<Tracked>(log, "drawing"); });
    }
    EXPECT_EQ(log, (std::vector<std::string>{"build drawing", "release drawing"}));
}
