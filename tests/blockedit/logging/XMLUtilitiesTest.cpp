#include <gtest/gtest.h>

#include <vector>

#include "LoggingTestSupport.h"
#include "logging/XMLUtilities.h"

namespace {

const std::string kOuter = "urn:test:outer";
const std::string kInner = "urn:test:inner";

std::vector<std::string> childTexts(const pugi::xml_node& node) {
    std::vector<std::string> texts;
    for (pugi::xml_node child : node.children())
        texts.push_back(CXMLUtilities::localName(child) + "=" + child.text().get());
    return texts;
}

size_t occurrences(const std::string& text, const std::string& piece) {
    size_t count = 0;
    for (size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1)) ++count;
    return count;
}

}  // namespace

TEST(XMLUtilities, NamespacesAreDeclaredOnlyWhereTheyChange) {
    TempFolder folder;
    const std::string path = folder.file("tree.xml");
    CXMLUtilities factory;
    pugi::xml_node record = factory.createNode("record", kOuter);
    CXMLUtilities::appendChild(record, factory.createNode("name", "R&D <north> \"wing\"", kOuter));
    pugi::xml_node call = CXMLUtilities::appendChild(record, factory.createNode("call", kInner));
    CXMLUtilities::appendChild(call, factory.createNode("empty", "", kInner));
    CXMLUtilities::appendChild(call, factory.createNode("back", "x", kOuter));
    CXMLUtilities::appendChild(record, factory.createNode("control", "bell\a\tend", kOuter));

    pugi::xml_document document;
    CXMLUtilities::addProlog(document, "");
    CXMLUtilities::appendChild(document.append_child("root"), record).parent().append_attribute("xmlns") =
        kOuter.c_str();
    ASSERT_TRUE(CXMLUtilities::saveDocument(document, path));

    const std::string text = readFile(path);
    EXPECT_EQ(text.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>", 0), 0u) << text;
    EXPECT_EQ(occurrences(text, "xmlns="), 3u) << text;  // root, call, back
    EXPECT_NE(text.find("<call xmlns=\"urn:test:inner\">"), std::string::npos) << text;
    EXPECT_NE(text.find("<back xmlns=\"urn:test:outer\">x</back>"), std::string::npos) << text;
    EXPECT_NE(text.find("<record>"), std::string::npos) << text;
    EXPECT_TRUE(xmllintAccepts(path));

    pugi::xml_document back;
    ASSERT_TRUE(CXMLUtilities::loadDocument(back, path));
    const pugi::xml_node readRecord = back.document_element().child("record");
    EXPECT_EQ(CXMLUtilities::namespaceURI(readRecord), kOuter);
    EXPECT_STREQ(readRecord.child("name").text().get(), "R&D <north> \"wing\"");
    EXPECT_EQ(CXMLUtilities::namespaceURI(readRecord.child("call").child("empty")), kInner);
    EXPECT_EQ(readRecord.child("call").child("empty").first_child(), pugi::xml_node());
    EXPECT_EQ(CXMLUtilities::namespaceURI(readRecord.child("call").child("back")), kOuter);
    EXPECT_STREQ(readRecord.child("control").text().get(), "bell\xEF\xBF\xBD\tend");
}

TEST(XMLUtilities, SavingReplacesTheFileWholeAndKeepsItsPermissions) {
    TempFolder folder;
    const std::string path = folder.file("kept.xml");
    writeFile(path, "<old/>");
    std::filesystem::permissions(path, std::filesystem::perms::owner_read |
                                           std::filesystem::perms::owner_write |
                                           std::filesystem::perms::group_read);
    pugi::xml_document document;
    document.append_child("fresh");
    ASSERT_TRUE(CXMLUtilities::saveDocument(document, path));
    EXPECT_EQ(readFile(path), "<fresh />\n");
    EXPECT_EQ(std::filesystem::status(path).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                  std::filesystem::perms::group_read);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()),
                            std::filesystem::directory_iterator()),
              1);
    EXPECT_FALSE(CXMLUtilities::saveDocument(document, folder.file("missing/kept.xml")));
}

TEST(XMLUtilities, NodesFromAnotherDocumentKeepTheirNamespace) {
    // A node read from a file inherits its namespace; copied elsewhere it must still carry it.
    TempFolder folder;
    writeFile(folder.file("in.xml"), "<a:top xmlns:a=\"urn:x\" xmlns=\"urn:y\"><leaf>1</leaf></a:top>");
    pugi::xml_document source;
    ASSERT_TRUE(CXMLUtilities::loadDocument(source, folder.file("in.xml")));
    EXPECT_EQ(CXMLUtilities::localName(source.document_element()), "top");
    EXPECT_EQ(CXMLUtilities::namespaceURI(source.document_element()), "urn:x");

    pugi::xml_document target;
    pugi::xml_node holder = target.append_child("holder");
    holder.append_attribute("xmlns") = "urn:z";
    CXMLUtilities::appendChild(holder, source.document_element().child("leaf"));
    ASSERT_TRUE(CXMLUtilities::saveDocument(target, folder.file("out.xml")));
    pugi::xml_document back;
    ASSERT_TRUE(CXMLUtilities::loadDocument(back, folder.file("out.xml")));
    EXPECT_EQ(CXMLUtilities::namespaceURI(back.document_element().child("leaf")), "urn:y");

    // Moved within its own document under an element of another namespace, likewise.
    pugi::xml_node other = source.document_element().append_child("other");
    other.append_attribute("xmlns") = "urn:z";
    CXMLUtilities::appendChild(other, source.document_element().child("leaf"));
    EXPECT_EQ(CXMLUtilities::namespaceURI(other.child("leaf")), "urn:y");
}

TEST(XMLUtilities, DateNodeWritesPlainNumbersOrMinusOne) {
    CXMLUtilities factory;
    const pugi::xml_node valid = factory.createUniversalTimeNode(kOuter, CDateTime(2024, 2, 29, 0, 5, 9));
    EXPECT_EQ(CXMLUtilities::localName(valid), "date");
    EXPECT_EQ(childTexts(valid),
              (std::vector<std::string>{"year=2024", "month=2", "day=29", "hour=0", "minute=5", "second=9"}));
    for (pugi::xml_node child : valid.children()) EXPECT_EQ(CXMLUtilities::namespaceURI(child), kOuter);

    const std::vector<std::string> invalid{"year=-1", "month=-1",  "day=-1",
                                           "hour=-1", "minute=-1", "second=-1"};
    for (const CDateTime& date :
         {CDateTime(), CDateTime(2023, 2, 29, 1, 1, 1), CDateTime(2023, 1, 1, 24, 0, 0),
          CDateTime(2023, 13, 1, 1, 0, 0), CDateTime(2023, 4, 31, 1, 0, 0), CDateTime(2023, 1, 257, 1, 0, 0)})
        EXPECT_EQ(childTexts(factory.createUniversalTimeNode(kOuter, date)), invalid);
    EXPECT_TRUE(CDateTime::now().isValid());
}

TEST(XMLUtilities, LoadRejectsFilesWithoutOneRootElement) {
    TempFolder folder;
    const std::pair<const char*, const char*> cases[] = {
        {"text.xml", "just some text\n"},
        {"empty.xml", ""},
        {"broken.xml", "<?xml version=\"1.0\"?>\n<errors>\n  <error>\n</errors>\n"},
        {"two.xml", "<a/><b/>"},
    };
    for (const auto& [name, content] : cases) {
        writeFile(folder.file(name), content);
        pugi::xml_document document;
        std::string problem;
        EXPECT_FALSE(CXMLUtilities::loadDocument(document, folder.file(name), &problem)) << name;
        EXPECT_FALSE(document.first_child()) << name;
        EXPECT_FALSE(problem.empty()) << name;
    }
    std::string problem;
    pugi::xml_document document;
    CXMLUtilities::loadDocument(document, folder.file("broken.xml"), &problem);
    EXPECT_EQ(problem.rfind("line 4, column", 0), 0u) << problem;
    EXPECT_FALSE(CXMLUtilities::loadDocument(document, folder.file("missing.xml")));
}
