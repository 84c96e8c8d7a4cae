#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "../TestFiles.h"
#include "core/EXKorva.h"
#include "data/Assets.h"
#include "engine/editor/HostOutput.h"
#include "logging/XMLUtilities.h"
#include "reports/AcadDrawingState.h"
#include "reports/Categories.h"
#include "reports/Category.h"
#include "reports/GraphicReport.h"
#include "reports/Layers.h"
#include "reports/LinkLines.h"
#include "spaceblocks/BlockDWG.h"
#include "spaceblocks/Blocks.h"
#include "spaceblocks/KorvaAttribute.h"

using testfiles::readText;
using testfiles::TempFolder;
using testfiles::writeText;

namespace {

std::unique_ptr<CCategory> category(int id, const std::string& title, const char* pattern, int angle = 0,
                                    int scale = 1, cad::Color colour = cad::Color::fromRgb(1, 2, 3)) {
    auto made = std::make_unique<CCategory>();
    made->setID(id);
    made->setTitle(title);
    if (pattern != nullptr) {
        auto hatch = std::make_unique<CHatch>(pattern);
        hatch->setAngle(angle);
        hatch->setScale(scale);
        hatch->setColour(colour);
        made->setHatch(std::move(hatch));
    }
    return made;
}

std::string reportFile(const std::string& children) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<graphicReport xmlns=\"urn:brinmo:documentMonitor\">\n" +
           children + "</graphicReport>\n";
}

// A report with every part the file form carries, and the parts it must leave out.
std::unique_ptr<CGraphicReport> fullReport() {
    auto report = std::make_unique<CGraphicReport>();
    report->setID(42);
    report->setTitle("Occupancy & use <level 2>");
    report->setDrawingPath("/plans/level2");
    report->setDrawingFilename("level2.dxf");
    report->setOutputPath("/plots");
    report->setOutputFilename("level2.pdf");
    report->setXMLOutputTo("/xml");
    report->setSaveCopyTo("copy.dxf");
    report->setPlotTypeID(2);
    report->setPlotAreaTypeID(3);
    report->setPlotMediaSizeID(17);
    report->setPlotScaleTypeID(12);
    report->setPlotCentred(0);
    report->setPlotLayout("Sheet 1");
    report->setTotalChildAreas(1234.5);
    report->setPieXYOffset(-250);
    report->setPieIgnoreEmptySegments(false);
    report->setPieShowLabels(true);
    report->setPieShowLabelSegmentLines(false);
    auto categories = std::make_unique<CCategories>();
    auto offices = category(3, "Offices", "ANSI31", 45, 20, cad::Color::fromRgb(0xFF, 0x80, 0x00));
    offices->getHatch()->setLayer("HATCH-OFFICES");
    auto blocks = std::make_unique<CBlocks>();
    auto block = std::make_unique<CBlockDWG>();
    block->setHandle(std::string("2F1A"));
    block->setName("L2-001");
    block->setCode("L2-001");
    block->setArea(27.84);
    auto swap = std::make_unique<CAttributes>();
    swap->add(std::make_unique<CKorvaAttribute>(CKorvaAttribute::kAux, "Sales"));
    block->setAttributes(std::move(swap));
    blocks->addBlock(std::move(block));
    offices->setBlocks(std::move(blocks));
    categories->add(std::move(offices));
    categories->add(category(4, "Empty", nullptr));
    report->setCategories(std::move(categories));
    auto layers = std::make_unique<CLayers>();
    auto walls = std::make_unique<CLayer>();
    walls->setName("WALLS");
    walls->setDescription("outer walls");
    layers->add(std::move(walls));
    report->setLayersOn(std::move(layers));
    auto links = std::make_unique<CLinkLines>();
    links->add(std::make_unique<CLinkLine>("2F1A", "2F1B", "LINKS", "moves to"));
    report->setLinkLines(std::move(links));
    return report;
}

}  // namespace

TEST(GraphicReportXml, WrittenElementsComeInOrderWithOptionalOnesLeftOut) {
    TempFolder folder;
    const std::string file = folder.file("report.xml");
    fullReport()->serialize(file);
    const std::string text = readText(file);
    EXPECT_EQ(text.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<graphicReport xmlns=\"urn:brinmo:documentMonitor\">\n"
                         "  <grID>42</grID>\n  <grTitle>Occupancy &amp; use &lt;level 2&gt;</grTitle>\n"
                         "  <grDrawingPath>/plans/level2/</grDrawingPath>\n  <grDrawingFilename>level2.dxf</grDrawingFilename>\n"
                         "  <grPlotTypeID>2</grPlotTypeID>\n  <grPlotAreaTypeID>3</grPlotAreaTypeID>\n"
                         "  <grPlotMediaSizeID>17</grPlotMediaSizeID>\n  <grPlotScaleTypeID>12</grPlotScaleTypeID>\n"
                         "  <grPlotCentred>0</grPlotCentred>\n  <grSaveCopyTo>copy.dxf</grSaveCopyTo>\n"
                         "  <grPlotLayout>Sheet 1</grPlotLayout>\n  <grTotalChildAreas>1234.5</grTotalChildAreas>\n"
                         "  <grPieXYOffset>-250</grPieXYOffset>\n  <grPieIgnoreEmptySegments>0</grPieIgnoreEmptySegments>\n"
                         "  <grPieShowLabels>1</grPieShowLabels>\n  <grPieShowLabelSegmentLines>0</grPieShowLabelSegmentLines>\n"
                         "  <categories>\n    <category>\n      <cID>3</cID>\n      <cTitle>Offices</cTitle>\n"
                         "      <cHatchPattern>ANSI31</cHatchPattern>\n      <cHatchColour>#FF8000</cHatchColour>\n"
                         "      <cHatchScale>20</cHatchScale>\n      <cHatchAngle>45</cHatchAngle>\n"
                         "      <cHatchLayer>HATCH-OFFICES</cHatchLayer>\n      <korvaBlocks>\n",
                         0),
              0u)
        << text;
    // A category without a hatch has no hatch elements; the layers close the file; the output
    // targets and the link lines never appear.
    EXPECT_NE(text.find("    <category>\n      <cID>4</cID>\n      <cTitle>Empty</cTitle>\n    </category>\n"),
              std::string::npos);
    EXPECT_NE(text.find("  <layersOn>\n    <layerOn>\n      <loName>WALLS</loName>\n"
                        "      <loDescription>outer walls</loDescription>\n    </layerOn>\n  </layersOn>\n"
                        "</graphicReport>\n"),
              std::string::npos);
    for (const char* absent : {"grOutputPath", "grOutputFilename", "grXMLOutputTo", "link"})
        EXPECT_EQ(text.find(absent), std::string::npos) << absent;

    // Without a title, layout or copy target those elements are left out.
    CGraphicReport bare;
    bare.serialize(file);
    const std::string bareText = readText(file);
    for (const char* absent : {"grTitle", "grPlotLayout", "grSaveCopyTo", "categories", "layersOn"})
        EXPECT_EQ(bareText.find(absent), std::string::npos) << absent;
}

TEST(GraphicReportXml, ReadingBackKeepsCodesPieSettingsCategoriesAndLayers) {
    TempFolder folder;
    const std::string file = folder.file("report.xml");
    fullReport()->serialize(file);
    CGraphicReport read;
    read.deSerialize(file);
    ASSERT_NE(read.getCategories(), nullptr);
    ASSERT_EQ(read.getCategories()->getCount(), 2u);
    const CCategory& offices = read.getCategories()->getAt(0);
    ASSERT_NE(offices.getHatch(), nullptr);
    ASSERT_NE(offices.getBlocks(), nullptr);
    ASSERT_EQ(offices.getBlocks()->getLength(), 1u);
    const auto& block = dynamic_cast<const CBlockDWG&>(offices.getBlocks()->getAt(0));
    EXPECT_EQ(block.getHandle(), "2F1A");
    // Each block carries its own copy of the category's hatch.
    ASSERT_NE(block.getHatchSettings(), nullptr);
    EXPECT_NE(block.getHatchSettings(), offices.getHatch());
    EXPECT_EQ(block.getHatchSettings()->getLayer(), "HATCH-OFFICES");

    // Written again, the file is the same byte for byte but for the copy target, never read: every
    // other element was read back as written.
    const std::string again = folder.file("again.xml");
    read.serialize(again);
    std::string expected = readText(file);
    const std::string copyLine = "  <grSaveCopyTo>copy.dxf</grSaveCopyTo>\n";
    ASSERT_NE(expected.find(copyLine), std::string::npos);
    expected.erase(expected.find(copyLine), copyLine.size());
    EXPECT_EQ(readText(again), expected);
}

TEST(GraphicReportXml, FlagsNumbersAndIgnoredElements) {
    TempFolder folder;
    const std::string file = folder.file("r.xml");
    auto centred = [&](const std::string& text) {
        writeText(file, reportFile("<grPlotCentred>" + text + "</grPlotCentred>\n"));
        CGraphicReport report;
        report.setPlotCentred(7);
        report.deSerialize(file);
        return report.getPlotCentred();
    };
    EXPECT_EQ(centred("true"), 1);
    EXPECT_EQ(centred("1"), 1);
    for (const char* text : {"True", "0", "yes", ""}) EXPECT_EQ(centred(text), 0) << text;

    // Codes go through the database conversions: scale 19 and above move up one, unknown codes become 0.
    writeText(file, reportFile("<grPlotScaleTypeID>19</grPlotScaleTypeID><grPlotTypeID>7</grPlotTypeID>"
                               "<grPlotMediaSizeID>88</grPlotMediaSizeID><grOutputPath>/out/</grOutputPath>"
                               "<grOutputFilename>a.pdf</grOutputFilename><grSaveCopyTo>b.dxf</grSaveCopyTo>"
                               "<grXMLOutputTo>/x/</grXMLOutputTo><somethingElse>1</somethingElse>"
                               "<linkLines><linkLine><linkStartHandle>1</linkStartHandle></linkLine></linkLines>"
                               "<grDrawingPath>no/trailing</grDrawingPath><grDrawingFilename>/a?b.dxf</grDrawingFilename>"));
    CGraphicReport report;
    report.deSerialize(file);
    EXPECT_EQ(report.getPlotScaleTypeID(), 20);
    EXPECT_EQ(report.getPlotTypeID(), 0);
    EXPECT_EQ(report.getPlotMediaSizeID(), 88);
    EXPECT_EQ(report.getOutputPath(), "");
    EXPECT_EQ(report.getOutputFilename(), "");
    EXPECT_EQ(report.getSaveCopyTo(), "");
    EXPECT_EQ(report.getXMLOutputTo(), "");
    EXPECT_EQ(report.getLinkLines(), nullptr);
    // The drawing's path and name are taken as written, without the setters' checks.
    EXPECT_EQ(report.getDrawingPath(), "no/trailing");
    EXPECT_EQ(report.getDrawingFilename(), "/a?b.dxf");
}

TEST(GraphicReportXml, SettersCheckPathsAndFileNames) {
    CGraphicReport report;
    report.setDrawingPath("/plans/a*b");
    EXPECT_EQ(report.getDrawingPath(), "/plans/ab/");
    report.setOutputPath("");
    EXPECT_EQ(report.getOutputPath(), "");
    report.setOutputFilename("plot.pdf");
    EXPECT_THROW(report.setOutputFilename("plot?.pdf"), CEXKorva);
    EXPECT_THROW(report.setDrawingFilename("/level2.dxf"), CEXKorva);
    EXPECT_EQ(report.getOutputFilename(), "plot.pdf");
    EXPECT_EQ(report.getDrawingFilename(), "");
}

TEST(GraphicReportXml, UnreadableFilesLeaveTheDefaultsAndSayWhy) {
    TempFolder folder;
    cad::CapturedOutput out;
    auto readDefaults = [&](const std::string& path) {
        CGraphicReport report;
        report.deSerialize(path);
        EXPECT_EQ(report.getID(), 0);
        EXPECT_EQ(report.getPlotCentred(), 1);
        EXPECT_TRUE(report.getPieShowLabels());
        EXPECT_EQ(report.getCategories(), nullptr);
        EXPECT_EQ(report.getLayersOn(), nullptr);
    };
    // The messages for these three are in the report_files script test.
    const std::string broken = folder.file("broken.xml");
    writeText(broken, "<graphicReport>\n  <grID>3</grID>\n  <grTitle>x</grTitel>\n</graphicReport>\n");
    readDefaults(broken);
    const std::string wrongRoot = folder.file("wrong.xml");
    writeText(wrongRoot, "<graphicReports><grID>3</grID></graphicReports>");
    readDefaults(wrongRoot);
    readDefaults(folder.file("missing.xml"));
    out.clear();
    readDefaults(folder.path().string());
    EXPECT_EQ(out.text(), "Cannot read the graphic report " + folder.path().string() + ": it is a folder\n");
}

TEST(Categories, DuplicatesByTitleAndHatchAreDropped) {
    CCategories categories;
    EXPECT_TRUE(categories.add(category(1, "Offices", "ANSI31", 0, 10)));
    EXPECT_FALSE(categories.add(category(2, "Offices", "ANSI31", 0, 10)));
    EXPECT_TRUE(categories.add(category(3, "offices", "ANSI31", 0, 10)));  // title case counts
    EXPECT_TRUE(categories.add(category(4, "Offices", "ANSI31", 0, 11)));
    EXPECT_TRUE(categories.add(category(5, "Offices", "ANSI31", 90, 10)));
    EXPECT_TRUE(categories.add(category(6, "Offices", "SOLID", 0, 10)));
    EXPECT_TRUE(categories.add(category(7, "Offices", "ANSI31", 0, 10, cad::Color::fromRgb(9, 9, 9))));
    EXPECT_TRUE(categories.add(category(8, "Offices", nullptr)));
    EXPECT_FALSE(categories.add(category(9, "Offices", nullptr)));
    EXPECT_EQ(categories.getCount(), 7u);
    EXPECT_EQ(categories.getAt(6).getID(), 8);
    EXPECT_THROW(categories.getAt(7), std::invalid_argument);
    categories.deleteObjects();
    EXPECT_EQ(categories.getCount(), 0u);
}

TEST(Categories, HatchValuesBeforeThePatternWaitForItAndWithoutItThereIsNoHatch) {
    TempFolder folder;
    const std::string file = folder.file("c.xml");
    writeText(file, reportFile(
                        "<categories>"
                        "<category><cHatchColour>#0a0B0c</cHatchColour><cHatchScale>5</cHatchScale>"
                        "<cHatchPattern>GRID</cHatchPattern><cHatchAngle>30</cHatchAngle><cTitle>A</cTitle>"
                        "<korvaBlocks><korvaBlock><mbHandle>1A</mbHandle></korvaBlock></korvaBlocks>"
                        "<assets><asset><handle>1B</handle></asset></assets></category>"
                        "<category><cTitle>B</cTitle><cHatchColour>#FFFFFF</cHatchColour><cHatchLayer>L</cHatchLayer>"
                        "<korvaBlocks><korvaBlock><mbHandle>2A</mbHandle></korvaBlock></korvaBlocks></category>"
                        "<category><cTitle>C</cTitle><cHatchPattern>SOLID</cHatchPattern><cHatchColour>#F</cHatchColour></category>"
                        "<notACategory><cTitle>D</cTitle></notACategory>"
                        "</categories>"));
    CGraphicReport report;
    report.deSerialize(file);
    ASSERT_NE(report.getCategories(), nullptr);
    ASSERT_EQ(report.getCategories()->getCount(), 3u);
    const CCategory& a = report.getCategories()->getAt(0);
    ASSERT_NE(a.getHatch(), nullptr);
    EXPECT_EQ(a.getHatch()->getColour(), cad::Color::fromRgb(10, 11, 12));
    EXPECT_EQ(a.getHatch()->getScale(), 5);
    EXPECT_EQ(a.getHatch()->getAngle(), 30);
    EXPECT_EQ(a.getHatch()->getLayer(), CHatch::kDefaultLayer);
    ASSERT_NE(a.getAssets(), nullptr);
    ASSERT_NE(a.getAssets()->getAt(0).getHatchSettings(), nullptr);
    EXPECT_EQ(a.getAssets()->getAt(0).getHatchSettings()->getPattern(), "GRID");
    const CCategory& b = report.getCategories()->getAt(1);
    EXPECT_EQ(b.getHatch(), nullptr);
    EXPECT_EQ(dynamic_cast<const CBlockDWG&>(b.getBlocks()->getAt(0)).getHatchSettings(), nullptr);
    // A colour text too short to hold three parts reads what it has.
    EXPECT_EQ(report.getCategories()->getAt(2).getHatch()->getColour(), cad::Color::fromRgb(15, 0, 0));
}

TEST(Layers, XmlNamesAreValidatedAndTheDrawingStateReadsBack) {
    TempFolder folder;
    const std::string file = folder.file("l.xml");
    writeText(file, reportFile("<layersOn><layerOn><loName>A;B=C</loName><loDescription>d</loDescription></layerOn>"
                               "<layerOn><loName>X:1|2</loName></layerOn><layerOn><loName>X:1|2</loName></layerOn>"
                               "<other/></layersOn>"));
    CGraphicReport report;
    report.deSerialize(file);
    ASSERT_NE(report.getLayersOn(), nullptr);
    ASSERT_EQ(report.getLayersOn()->getCount(), 2u);
    EXPECT_EQ(report.getLayersOn()->getAt(0).getName(), "ABC");
    EXPECT_EQ(report.getLayersOn()->getAt(1).getName(), "X:1|2");
}

// The sample reports are kept in the form the program writes: read and written again, each file
// comes back byte for byte.
TEST(GraphicReportXml, SampleReportsWriteBackUnchanged) {
    TempFolder folder;
    const std::filesystem::path samples = std::filesystem::path(BRINMO_SOURCE_DIR) / "examples" / "reports";
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(samples)) {
        if (entry.path().extension() != ".xml") continue;
        ++count;
        cad::CapturedOutput out;
        CGraphicReport report;
        report.deSerialize(entry.path().string());
        EXPECT_EQ(out.text(), "");
        ASSERT_NE(report.getCategories(), nullptr) << entry.path();
        const std::string written = folder.file(entry.path().filename().string());
        report.serialize(written);
        EXPECT_EQ(readText(written), readText(entry.path().string())) << entry.path();
    }
    EXPECT_EQ(count, 3);
}

TEST(AcadDrawingStateXml, LayoutAndLayersReadBack) {
    CXMLUtilities factory;
    CAcadDrawingState state;
    state.setLayoutName("Sheet 2");
    state.setLayerState("WALLS", 1, 0, 1, 1);
    state.setLayerState("Doors", 0, 0, 0, 1);
    pugi::xml_node node = state.serialize(factory, "urn:test");
    EXPECT_EQ(CXMLUtilities::localName(node), "AcadDrawingState");
    EXPECT_EQ(std::string(node.child("layout").text().get()), "Sheet 2");
    EXPECT_EQ(std::string(node.child("layers").first_child().name()), "layerOn");
    CAcadDrawingState read;
    read.deSerialize(node);
    EXPECT_EQ(read.getLayoutName(), "Sheet 2");
    ASSERT_EQ(read.getLayers().getCount(), 2u);
    EXPECT_EQ(read.getLayers().getAt(1).getName(), "Doors");
}
