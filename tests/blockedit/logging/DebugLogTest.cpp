#include <gtest/gtest.h>

#include <regex>

#include "LoggingTestSupport.h"
#include "logging/Log.h"
#include "logging/LogNamespaces.h"
#include "logging/XMLUtilities.h"

namespace {

std::vector<std::string> childNames(const pugi::xml_node& node) {
    std::vector<std::string> names;
    for (pugi::xml_node child : node.children()) names.push_back(CXMLUtilities::localName(child));
    return names;
}

// A stored-procedure element as a call would attach it: debugging namespace with an errors-namespace
// date, prepared 2026-03-04 05:06:07, one parameter @mbName holding `value`.
pugi::xml_node procedureNode(CXMLUtilities& factory, const std::string& value) {
    pugi::xml_node call = factory.createNode("storedProcedure", kDebuggingNamespaceURI);
    CXMLUtilities::appendChild(call, factory.createNode("name", "__to_exportBlock", kDebuggingNamespaceURI));
    CXMLUtilities::appendChild(
        call, factory.createUniversalTimeNode(kErrorsNamespaceURI, CDateTime(2026, 3, 4, 5, 6, 7)));
    pugi::xml_node parameter = CXMLUtilities::appendChild(
        CXMLUtilities::appendChild(call, factory.createNode("parameters", kDebuggingNamespaceURI)),
        factory.createNode("parameter", kDebuggingNamespaceURI));
    CXMLUtilities::appendChild(parameter,
                               factory.createNode("parameterName", "@mbName", kDebuggingNamespaceURI));
    CXMLUtilities::appendChild(parameter,
                               factory.createNode("parameterValue", value, kDebuggingNamespaceURI));
    return call;
}

}  // namespace

TEST(DebugLog, FirstEntryCreatesTheLogAndLaterEntriesAppend) {
    TempFolder folder;
    const std::string path = folder.file("debug.xml");
    CXMLUtilities factory;
    CLog().writeToXMLDebugLog(path, "execSPNoReturnNoParas", pugi::xml_node());
    CLog().writeToXMLDebugLog(path, "execSPReturnParas", procedureNode(factory, "17"));

    const std::string text = readFile(path);
    EXPECT_EQ(text.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                         "<?xml-stylesheet type=\"text/xsl\" href=\"debugLog.xsl\"?>\n"
                         "<debugging xmlns=\"urn:brinmo:debugging\">",
                         0),
              0u)
        << text;
    EXPECT_TRUE(xmllintAccepts(path));
    EXPECT_EQ(readFile(folder.file("debugLog.xsl")),
              readFile(std::string(BRINMO_SOURCE_DIR) + "/blockedit/logging/debugLog.xsl"));

    pugi::xml_document document;
    ASSERT_TRUE(CXMLUtilities::loadDocument(document, path));
    const pugi::xml_node root = document.document_element();
    ASSERT_EQ(childNames(root), (std::vector<std::string>{"error", "error"}));
    const pugi::xml_node plain = root.first_child();
    const pugi::xml_node withCall = plain.next_sibling();
    EXPECT_EQ(CXMLUtilities::namespaceURI(plain), kErrorsNamespaceURI);
    EXPECT_EQ(childNames(plain), (std::vector<std::string>{"date", "description"}));
    EXPECT_STREQ(plain.child("description").text().get(), "execSPNoReturnNoParas");
    EXPECT_EQ(childNames(plain.child("date")),
              (std::vector<std::string>{"year", "month", "day", "hour", "minute", "second"}));
    EXPECT_TRUE(std::regex_match(std::string(plain.child("date").child("year").text().get()),
                                 std::regex("[1-9][0-9]{3}")));

    EXPECT_EQ(childNames(withCall), (std::vector<std::string>{"date", "description", "storedProcedure"}));
    const pugi::xml_node call = withCall.child("storedProcedure");
    EXPECT_EQ(CXMLUtilities::namespaceURI(call), kDebuggingNamespaceURI);
    EXPECT_EQ(CXMLUtilities::namespaceURI(call.child("date").child("second")), kErrorsNamespaceURI);
    EXPECT_EQ(CXMLUtilities::namespaceURI(call.child("parameters").child("parameter").child("parameterName")),
              kDebuggingNamespaceURI);
    EXPECT_STREQ(call.child("parameters").child("parameter").child("parameterValue").text().get(), "17");
}

TEST(DebugLog, ALogWithAnotherRootIsRewrittenWithoutEntry) {
    TempFolder folder;
    const std::string path = folder.file("debug.xml");
    writeFile(path,
              "<?xml version=\"1.0\"?>\n<errors xmlns=\"urn:brinmo:errors\"><note>keep</note></errors>\n");
    CLog().writeToXMLDebugLog(path, "execSPNoReturnParas", pugi::xml_node());
    pugi::xml_document document;
    ASSERT_TRUE(CXMLUtilities::loadDocument(document, path));
    EXPECT_EQ(childNames(document.document_element()), std::vector<std::string>{"note"});
    EXPECT_FALSE(std::filesystem::exists(folder.file("debugLog.xsl")));  // the log was not created here
}

TEST(DebugLog, OwnStylesheetBesideTheLogIsKept) {
    TempFolder folder;
    writeFile(folder.file("debugLog.xsl"), "mine");
    CLog().writeToXMLDebugLog(folder.file("debug.xml"), "execSPReturnNoParas", pugi::xml_node());
    EXPECT_EQ(readFile(folder.file("debugLog.xsl")), "mine");
}

// The stylesheets select by namespace: rendering shows they bind the URIs the writers use.
TEST(DebugLog, RendersAsHtmlWithItsStylesheet) {
    if (!toolAvailable("xsltproc")) GTEST_SKIP() << "xsltproc is not installed";
    TempFolder folder;
    const std::string path = folder.file("debug.xml");
    CXMLUtilities factory;
    CLog().writeToXMLDebugLog(path, "execSPNoReturnParas", procedureNode(factory, "Office <A&B>"));
    CLog().writeToXMLDebugLog(path, "execSPReturnNoParas",
                              factory.createNode("note", "free text", "urn:other"));

    const std::string html = rendered(folder, "debug.xml", "debugLog.xsl");
    ASSERT_FALSE(html.empty());
    EXPECT_NE(html.find("2 call(s) recorded"), std::string::npos) << html;
    EXPECT_NE(html.find("__to_exportBlock"), std::string::npos);
    EXPECT_NE(html.find("prepared 2026-03-04 05:06:07"), std::string::npos) << html;
    EXPECT_NE(html.find("<td>@mbName</td>"), std::string::npos);
    EXPECT_NE(html.find("Office &lt;A&amp;B&gt;"), std::string::npos);
    EXPECT_NE(html.find("execSPReturnNoParas"), std::string::npos);
    EXPECT_NE(html.find("note: free text"), std::string::npos) << html;
}

TEST(TextLog, LinesAreAppendedWithTheLocalTime) {
    TempFolder folder;
    const std::string path = folder.file("plain.log");
    CLog().outputToFile(path, "first");
    CLog().outputToFile(path, "second line");
    const std::string text = readFile(path);
    const std::string stamp = "[0-9]{2} [A-Z][a-z]{2} [0-9]{4} [0-9]{2}:[0-9]{2}:[0-9]{2}";
    const std::regex whole(stamp + "\tfirst\n" + stamp + "\tsecond line\n");
    EXPECT_TRUE(std::regex_match(text, whole)) << text;
}
