#include <gtest/gtest.h>

#include "DbTestSupport.h"
#include "engine/db/Hyperlinks.h"
#include "engine/db/Line.h"

using namespace cad;

namespace {
XDataChain roomData(const char* app, const char* area) {
    return {XDataItem::appName(app), XDataItem::open(), XDataItem::text(std::string("AREA=") + area),
            XDataItem::close()};
}
}  // namespace

TEST(XData, ApplicationsMustBeRegistered) {
    auto db = Database::createDefault();
    ObjectId id = test::append(*db, std::make_unique<Line>());
    auto line = db->open<Line>(id, OpenMode::ForWrite);
    EXPECT_EQ(line->setXData(roomData("ADE", "1sq.m.")), ErrorStatus::eRegappIdNotFound);
    EXPECT_TRUE(line->xData().empty());

    EXPECT_EQ(db->registerApplication("ADE"), ErrorStatus::eOk);
    EXPECT_EQ(db->registerApplication("ade"), ErrorStatus::eOk);  // already there
    EXPECT_TRUE(db->isApplicationRegistered("Ade"));
    EXPECT_EQ(db->registerApplication("TWO WORDS"), ErrorStatus::eInvalidSymbolTableName);
    EXPECT_EQ(db->registerApplication(std::string(32, 'A')), ErrorStatus::eInvalidSymbolTableName);
    EXPECT_EQ(line->setXData(roomData("ADE", "1sq.m.")), ErrorStatus::eOk);

    // Malformed chains change nothing.
    EXPECT_EQ(line->setXData({XDataItem::text("no app first")}), ErrorStatus::eInvalidXData);
    EXPECT_EQ(line->setXData({XDataItem::appName("ADE"), XDataItem::open()}), ErrorStatus::eInvalidXData);
    EXPECT_EQ(line->xData("ADE"), roomData("ADE", "1sq.m."));
}

TEST(XData, OrderIsKeptAndOneApplicationIsReplacedInPlace) {
    auto db = Database::createDefault();
    for (const char* app : {"ADE", "AECXDATA", "OTHER"}) db->registerApplication(app);
    ObjectId id = test::append(*db, std::make_unique<Line>());
    auto line = db->open<Line>(id, OpenMode::ForWrite);

    XDataChain all = roomData("ADE", "1");
    XDataChain second = roomData("AECXDATA", "2");
    all.insert(all.end(), second.begin(), second.end());
    ASSERT_EQ(line->setXData(all), ErrorStatus::eOk);
    ASSERT_EQ(line->setXData(roomData("OTHER", "3")), ErrorStatus::eOk);
    EXPECT_EQ(xdataAppNames(line->xData()), (std::vector<std::string>{"ADE", "AECXDATA", "OTHER"}));

    ASSERT_EQ(line->setXData(roomData("aecxdata", "22")), ErrorStatus::eOk);
    EXPECT_EQ(xdataAppNames(line->xData()), (std::vector<std::string>{"ADE", "aecxdata", "OTHER"}));
    EXPECT_EQ(line->xData("AECXDATA")[2].asText(), "AREA=22");
    // A part in the middle ends where the next application starts; the last one at the end.
    EXPECT_EQ(line->xData("AECXDATA"), roomData("aecxdata", "22"));
    EXPECT_EQ(line->xData("other"), roomData("OTHER", "3"));

    ASSERT_EQ(line->setXData({XDataItem::appName("ADE")}), ErrorStatus::eOk);  // removes ADE only
    EXPECT_EQ(xdataAppNames(line->xData()), (std::vector<std::string>{"aecxdata", "OTHER"}));
    EXPECT_TRUE(line->xData("ADE").empty());
}

TEST(XData, TagFormRoundTripsTypedValues) {
    RawTagList tags{{1001, "MYAPP"}, {1000, "text"}, {1002, "{"}, {1040, "1.5"}, {1070, "3"},
                    {1071, "70000"}, {1002, "}"}, {1005, "2f"}, {1010, "1.0"}, {1020, "2.0"},
                    {1030, "3.0"}, {1011, "4"}, {1021, "5"}, {1003, "ROOMS"}, {1004, "0102FF"}};
    XDataChain chain;
    std::string error;
    ASSERT_TRUE(xdataFromTags(tags, chain, &error)) << error;
    ASSERT_EQ(chain.size(), 12u);
    EXPECT_EQ(chain[3].asReal(), 1.5);
    EXPECT_EQ(chain[4].kind(), XDataItem::Kind::Integer);
    EXPECT_EQ(chain[5].asInt(), 70000);
    EXPECT_EQ(chain[7].asHandle(), Handle(0x2F));
    EXPECT_EQ(chain[8].asPoint(), (Point3d{1, 2, 3}));
    EXPECT_EQ(chain[9].asPoint(), (Point3d{4, 5, 0}));  // no Z given
    EXPECT_EQ(chain[10].code(), 1003);

    XDataChain again;
    ASSERT_TRUE(xdataFromTags(xdataToTags(chain), again, &error)) << error;
    EXPECT_EQ(again, chain);
    EXPECT_EQ(xdataToTags(chain)[7].value, "2F");

    EXPECT_FALSE(xdataFromTags({{1001, "A"}, {1040, "x1"}}, chain, &error));
    EXPECT_NE(error.find("tag 2"), std::string::npos);
    EXPECT_NE(error.find("1040"), std::string::npos);
    EXPECT_FALSE(xdataFromTags({{1001, "A"}, {1010, "1"}, {1030, "2"}}, chain, &error));
    EXPECT_FALSE(xdataFromTags({{1001, "A"}, {40, "1"}}, chain, &error));
}

TEST(Hyperlinks, StoredAsPeUrlExtendedData) {
    auto db = Database::createDefault();
    ObjectId id = test::append(*db, std::make_unique<Line>());
    auto line = db->open<Line>(id, OpenMode::ForWrite);
    std::vector<Hyperlink> links{{"https://example.com/a", "Room A", "View1", 1}};
    ASSERT_EQ(setHyperlinks(*line, links), ErrorStatus::eOk);
    EXPECT_TRUE(db->isApplicationRegistered("PE_URL"));
    EXPECT_EQ(getHyperlinks(*line), links);

    // The form drawings carry: url, then { description sub-location { flags } }.
    RawTagList expected{{1001, "PE_URL"}, {1000, "https://example.com/a"}, {1002, "{"}, {1000, "Room A"},
                        {1000, "View1"}, {1002, "{"}, {1071, "1"}, {1002, "}"}, {1002, "}"}};
    EXPECT_EQ(xdataToTags(line->xData("PE_URL")), expected);

    // A bare URL is written and read in the short form; several links follow one another.
    links = {{"file:///plans/a.pdf", "", "", 0}, {"https://b", "B", "", 0}};
    ASSERT_EQ(setHyperlinks(*line, links), ErrorStatus::eOk);
    EXPECT_EQ(getHyperlinks(*line), links);
    EXPECT_EQ(line->xData("PE_URL")[1].asText(), "file:///plans/a.pdf");
    EXPECT_EQ(line->xData("PE_URL")[2].asText(), "https://b");

    ASSERT_EQ(setHyperlinks(*line, {}), ErrorStatus::eOk);
    EXPECT_TRUE(getHyperlinks(*line).empty());
    EXPECT_TRUE(line->xData("PE_URL").empty());
}

TEST(Hyperlinks, ReadsTheFormsOtherWritersUse) {
    // Written without the inner flags group, as some libraries do.
    XDataChain noFlags{XDataItem::appName("PE_URL"), XDataItem::text("u"), XDataItem::open(),
                       XDataItem::text("desc"), XDataItem::close()};
    auto links = hyperlinksFromXData(noFlags);
    ASSERT_EQ(links.size(), 1u);
    EXPECT_EQ(links[0].description, "desc");
    EXPECT_EQ(links[0].flags, 0);
    EXPECT_TRUE(hyperlinksFromXData({XDataItem::appName("PE_URL")}).empty());
}
