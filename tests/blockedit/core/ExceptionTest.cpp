#include <gtest/gtest.h>

#include <stdexcept>

#include "core/EXKinds.h"
#include "core/EXUnhandled.h"
#include "core/KorvaWrap.h"
#include "core/ModuleInfo.h"
#include "engine/dialogs/MessageBox.h"
#include "engine/editor/HostOutput.h"

namespace {

// A handler two calls above the failing colour check, as the module's code is written.
void intermediate(const std::string& colour) {
    korvaWrap("C:\\src\\blockEdit\\Hatch.cpp", "CHatch::setColour", [&] {
        throw CEXInvalidHexColour(colour, "CUtilities", "Utilities.cpp", "CUtilities::parseHashString");
    });
}

void handler(const std::string& colour) {
    korvaWrap("/build/blockedit/module/blockEdit.cpp", "applyColour", [&] { intermediate(colour); });
}

CEXUnhandled caught(void (*f)()) {
    try {
        f();
    } catch (CEXUnhandled& e) {
        return std::move(e);
    }
    ADD_FAILURE() << "nothing thrown";
    return CEXUnhandled("", "", "");
}

}  // namespace

TEST(Exceptions, ClassIsTheSourceFileBaseName) {
    EXPECT_EQ(CEXKorva::classFromFileName("C:\\dev\\korva\\Utilities.cpp"), "Utilities");
    EXPECT_EQ(CEXKorva::classFromFileName("/work/blockedit/core/FileUtilities.cpp"), "FileUtilities");
    EXPECT_EQ(CEXKorva::classFromFileName("a/b\\blockEdit.cpp"), "blockEdit");
    EXPECT_EQ(CEXKorva::classFromFileName("dir\\sub/Mixed.cpp"), "Mixed");
    // Only an exact ".cpp" is removed.
    EXPECT_EQ(CEXKorva::classFromFileName("Utilities.CPP"), "Utilities.CPP");
    EXPECT_EQ(CEXKorva::classFromFileName("Utilities.h"), "Utilities.h");
    EXPECT_EQ(CEXKorva::classFromFileName("cpp"), "cpp");
    EXPECT_EQ(CEXKorva::classFromFileName(".cpp"), "");
    EXPECT_EQ(CEXKorva::classFromFileName("x.cpp.bak"), "x.cpp.bak");

    const CEXInvalidHandle e("2F", kModuleDescription, __FILE__, "CPresBlock::onApply");
    EXPECT_EQ(e.getClass(), "ExceptionTest");
    EXPECT_EQ(e.getSource(), "Korva Brinmo compatible with 64bit AutoCAD 2018");
}

TEST(Exceptions, KindsCarryTheirTextsAndSeverities) {
    const std::string s = kModuleDescription, f = "Hatch.cpp", p = "CHatch::apply";
    struct Case {
        CEXKorva e;
        const char* description;
        const char* severity;
    };
    const Case cases[] = {
        {CEXUnhandled(s, f, p), "unhandled error", "high"},
        {CEXUnhandled(std::runtime_error("disk full"), s, f, p), "disk full", "high"},
        {CEXUnhandled("no marker block", s, f, p, 7), "no marker block", "high"},
        {CEXCustom("Legend too large", s, f, p), "Legend too large", "high"},
        {CEXInvalidHandle("1A2B", s, f, p), "Invalid Handle - 1A2B", "medium"},
        {CEXInvalidHexColour("#12345G", "CUtilities", f, p), "Invalid Hex Colour - #12345G", "high"},
        {CEXInvalidPlotFilename("a?.pdf", s, f, p), "Invalid Plot Filename - 'a?.pdf'", "high"},
        {CEXInvalidXMLFile("r.xml", s, f, p), "Invalid XML file - r.xml", "high"},
        {CEXSegmentAreaOverTotal(120.456, 99.5, s, f, p),
         "Unable to calculate pie chart percentages the total segment area (120.46) is greater than the "
         "specified total area (99.50).",
         "medium"},
        {CEXHatchAdditionalAreas("ROOM-4", s, f, p), "Unable to apply additional hatch areas to Korva Block: ROOM-4.",
         "medium"},
        {CEXHatchNoHatchAreas("ROOM-4", s, f, p), "Unable to apply no hatch areas to Korva Block: ROOM-4.", "medium"},
        {CEXHatchBlock("ROOM-4", "3F", s, f, p),
         "Unable to hatch Korva Block: ROOM-4. Handle: 3F. Please check the polyline is closed.", "high"},
        {CEXHatchTooSparse("korva block ROOM-4", "ANSI31", 0.5, s, f, p),
         "Unable to hatch korva block ROOM-4. ANSI31 set at scale 0.50 is not dense enough to be displayed.",
         "medium"},
        {CEXHatchTooDense("pie segment Offices", "SOLID", 1000, s, f, p),
         "Unable to hatch pie segment Offices. SOLID set at scale 1000.00 is too dense to be displayed.", "medium"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.e.getDescription(), c.description);
        EXPECT_EQ(c.e.getSeverityText(), c.severity) << c.description;
        EXPECT_EQ(c.e.getClass(), "Hatch");
        EXPECT_EQ(c.e.getProcSig(), "CHatch::apply");
    }
    EXPECT_EQ(cases[2].e.getErrorCode(), 7u);
    EXPECT_EQ(cases[5].e.getSource(), "CUtilities");
    EXPECT_EQ(CEXKorva::severityText(0), "low");
    EXPECT_EQ(CEXKorva::severityText(7), "high");
}

TEST(Exceptions, ComponentErrorKindsCarryTheComponentsSourceAndText) {
    const CComponentError err{"Login failed for user 'planner'.", "Database Driver", 18456};
    const CEXStoredProcedure sp(err, "__to_exportBlock", "DataServices.cpp", "CStoredProcedure::execute", 1);
    EXPECT_EQ(sp.getSource(), "Database Driver");
    EXPECT_EQ(sp.getDescription(), "Login failed for user 'planner'.");
    EXPECT_EQ(sp.getSeverityText(), "medium");
    EXPECT_EQ(sp.getProcedure(), "__to_exportBlock");
    EXPECT_EQ(sp.getClass(), "DataServices");

    const CEXConnection conn(err, "DataServices.cpp", "CDataServices::connect");
    const CEXSQLStatement sql(err, "SQLStatement.cpp", "CSQLStatement::execute");
    const CEXUnhandled generic(err, "DataServices.cpp", "CDataServices::run", 0);
    for (const CEXKorva* e : {static_cast<const CEXKorva*>(&conn), static_cast<const CEXKorva*>(&sql)}) {
        EXPECT_EQ(e->getSource(), "Database Driver");
        EXPECT_EQ(e->getDescription(), err.description);
        EXPECT_EQ(e->getSeverityText(), "high");
    }
    EXPECT_EQ(generic.getSource(), "Database Driver");
    EXPECT_EQ(generic.getSeverityText(), "low");

    // Wrapped, the component's text is what the box ends with, under the module's own wrapper.
    try {
        korvaWrap("DataServices.cpp", "CDataServices::run", [&] { throw CEXSQLStatement(sql); });
        FAIL() << "the wrapper must throw";
    } catch (const CEXKorva& outer) {
        EXPECT_EQ(outer.getSource(), kModuleDescription);
        EXPECT_EQ(outer.errorMessageText(),
                  "DataServices::CDataServices::run\n\tSQLStatement::CSQLStatement::execute\n\n"
                  "Login failed for user 'planner'.");
    }
}

// With a drawing name, see WrappingRule.
TEST(Exceptions, HostErrorMessageWithoutADrawing) {
    const CEXUnhandled plain(cad::ErrorStatus::eWasErased, kModuleDescription, "AcadUtilities.cpp",
                             "CAcadUtilities::openEntity", 212, "");
    EXPECT_EQ(plain.getDescription(), "The following AutoCAD error occurred on line#212: eWasErased.");
    EXPECT_EQ(plain.getErrorCode(), 13u);
}

TEST(Exceptions, WrappingRule) {
    // A module exception becomes the inner exception of a generic wrapper, keeping its kind.
    CEXUnhandled e = caught([] { handler("#FFF"); });
    EXPECT_EQ(e.getDescription(), "unhandled error");
    EXPECT_EQ(e.getClass(), "blockEdit");
    EXPECT_EQ(e.getProcSig(), "applyColour");
    ASSERT_NE(e.getInnerException(), nullptr);
    EXPECT_EQ(e.getInnerException()->getClass(), "Hatch");
    const CEXKorva* colour = e.getInnerException()->getInnerException();
    ASSERT_NE(colour, nullptr);
    EXPECT_NE(dynamic_cast<const CEXInvalidHexColour*>(colour), nullptr);
    EXPECT_EQ(colour->getInnerException(), nullptr);

    // A host status keeps its line and drawing.
    static int line = 0;
    e = caught([] {
        korvaWrap("AcadDrawing.cpp", "CAcadDrawing::lock", [] {
            line = __LINE__ + 1;
            KORVA_HOST_CHECK(cad::ErrorStatus::eLockViolation, "/plans/a.dxf");
        });
    });
    EXPECT_EQ(e.getInnerException(), nullptr);
    EXPECT_EQ(e.getErrorCode(), 320u);
    EXPECT_EQ(e.getDescription(), "The following AutoCAD error occurred on line#" + std::to_string(line) +
                                      ": eLockViolation, whilst processing drawing /plans/a.dxf.");
    EXPECT_EQ(e.getProcSig(), "CAcadDrawing::lock");

    e = caught([] { korvaWrap("Blocks.cpp", "CBlocks::getAt", [] { throw std::out_of_range("bad index"); }); });
    EXPECT_EQ(e.getDescription(), "bad index");
    EXPECT_EQ(e.getInnerException(), nullptr);

    e = caught([] { korvaWrap("Blocks.cpp", "CBlocks::add", [] { throw 42; }); });
    EXPECT_EQ(e.getDescription(), "unhandled error");
    EXPECT_EQ(e.getInnerException(), nullptr);
    EXPECT_EQ(e.getSource(), kModuleDescription);

    // Values pass through untouched.
    EXPECT_EQ(korvaWrap("X.cpp", "f", [] { return 5; }), 5);
}

TEST(Exceptions, CopiesAreDeep) {
    CEXUnhandled outer = caught([] { handler("zz"); });
    CEXUnhandled copy = outer;
    outer.deleteChain();
    EXPECT_EQ(outer.getInnerException(), nullptr);
    ASSERT_NE(copy.getInnerException(), nullptr);
    ASSERT_NE(copy.getInnerException()->getInnerException(), nullptr);
    EXPECT_NE(dynamic_cast<const CEXInvalidHexColour*>(copy.getInnerException()->getInnerException()), nullptr);
    EXPECT_EQ(copy.getInnerException()->getInnerException()->getDescription(), "Invalid Hex Colour - zz");
}

TEST(Exceptions, MessageBoxAndTrace) {
    cad::RecordedMessageBoxes boxes;
    cad::CapturedOutput output;

    // A failure of no known kind inside a handler: one exception in the chain.
    EXPECT_FALSE(korvaTopLevel("/src/blockedit/module/blockEdit.cpp", "updateSpaces", [] { throw 1; }));
    EXPECT_TRUE(korvaTopLevel("blockEdit.cpp", "updateSpaces", [] {}));
    // A colour error two calls below the handler.
    EXPECT_FALSE(korvaTopLevel("blockEdit.cpp", "applyReport", [] { handler("#FFF"); }));

    ASSERT_EQ(boxes.boxes().size(), 2u);
    EXPECT_EQ(boxes.boxes()[0].caption, "Error Detected.");
    EXPECT_EQ(boxes.boxes()[0].icon, cad::MessageBoxIcon::Error);
    EXPECT_EQ(boxes.boxes()[0].buttons, cad::MessageBoxButtons::Ok);
    EXPECT_EQ(boxes.boxes()[0].text, "blockEdit::updateSpaces\n\nunhandled error");
    EXPECT_EQ(boxes.boxes()[1].text,
              "blockEdit::applyReport\n"
              "\tblockEdit::applyColour\n"
              "\t\tHatch::CHatch::setColour\n"
              "\t\t\tUtilities::CUtilities::parseHashString\n\n"
              "Invalid Hex Colour - #FFF");
    EXPECT_TRUE(output.text().empty());

    caught([] { handler("#FFF"); }).printErrorTrace();
    EXPECT_EQ(output.text(),
              "applyColour\n"
              "\tCHatch::setColour\n"
              "\t\tCUtilities::parseHashString\n\n"
              "Invalid Hex Colour - #FFF\n");
}

namespace {

// One server whose log cannot be written.
class FailingLog : public IErrorLogWriter {
public:
    std::size_t serverCount() const override { return 1; }
    void writeError(std::size_t, const CEXKorva&) override { throw std::runtime_error("log file is read-only"); }
};

}  // namespace

// The notices printed per server are checked through the real writer in ErrorLogTest.
TEST(Exceptions, ErrorLogReportSurfacesAFailingLogWrite) {
    cad::CapturedOutput output;
    const CEXUnhandled e("X", "GraphicReports.cpp", "CGraphicReports::prepareReports");
    FailingLog broken;
    try {
        e.reportToErrorLog(broken);
        ADD_FAILURE() << "a failing log write must surface";
    } catch (const CEXUnhandled& failure) {
        EXPECT_EQ(failure.getProcSig(), "CEXKorva::reportToErrorLog");
        EXPECT_EQ(failure.getDescription(), "log file is read-only");
    }
}
