#include <gtest/gtest.h>

#include "LoggingTestSupport.h"
#include "logging/Log.h"
#include "logging/LogNamespaces.h"
#include "logging/LogStylesheets.h"
#include "logging/XMLUtilities.h"

namespace {

std::string sourceFile(const std::string& name) {
    return std::string(BRINMO_SOURCE_DIR) + "/blockedit/logging/" + name;
}

// Renders the XML file with the stylesheet beside it; empty when xsltproc fails.
std::string render(const TempFolder& folder, const std::string& log, const std::string& stylesheet) {
    const std::string html = folder.file("page.html");
    if (runCommand("xsltproc -o " + quoted(html) + " " + quoted(folder.file(stylesheet)) + " " +
                   quoted(folder.file(log)) + " 2>/dev/null") != 0) {
        return std::string();
    }
    return readFile(html);
}

}  // namespace

TEST(LogStylesheets, EmbeddedTextsMatchTheStylesheetFiles) {
    EXPECT_EQ(logstyles::errorLogStylesheet(), readFile(sourceFile("errorLog.xsl")));
    EXPECT_EQ(logstyles::debugLogStylesheet(), readFile(sourceFile("debugLog.xsl")));
    // The stylesheets select by namespace; they must bind the URIs the writers use.
    EXPECT_NE(logstyles::errorLogStylesheet().find(std::string("xmlns:e=\"") + kErrorsNamespaceURI + "\""),
              std::string::npos);
    EXPECT_NE(logstyles::debugLogStylesheet().find(std::string("xmlns:d=\"") + kDebuggingNamespaceURI + "\""),
              std::string::npos);
}

TEST(LogStylesheets, DebugLogRendersAsHtml) {
    if (!toolAvailable("xsltproc")) GTEST_SKIP() << "xsltproc is not installed";
    TempFolder folder;
    const std::string path = folder.file("debug.xml");
    CXMLUtilities factory;
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
                               factory.createNode("parameterType", "nvarchar", kDebuggingNamespaceURI));
    CXMLUtilities::appendChild(parameter, factory.createNode("parameterSize", "50", kDebuggingNamespaceURI));
    CXMLUtilities::appendChild(parameter,
                               factory.createNode("parameterValue", "Office <A&B>", kDebuggingNamespaceURI));
    CLog().writeToXMLDebugLog(path, "execSPNoReturnParas", call);
    CLog().writeToXMLDebugLog(path, "execSPReturnNoParas",
                              factory.createNode("note", "free text", "urn:other"));

    const std::string html = render(folder, "debug.xml", "debugLog.xsl");
    ASSERT_FALSE(html.empty());
    EXPECT_NE(html.find("2 call(s) recorded"), std::string::npos) << html;
    EXPECT_NE(html.find("__to_exportBlock"), std::string::npos);
    EXPECT_NE(html.find("prepared 2026-03-04 05:06:07"), std::string::npos) << html;
    EXPECT_NE(html.find("<td>@mbName</td>"), std::string::npos);
    EXPECT_NE(html.find("Office &lt;A&amp;B&gt;"), std::string::npos);
    EXPECT_NE(html.find("execSPReturnNoParas"), std::string::npos);
    EXPECT_NE(html.find("note: free text"), std::string::npos) << html;
}
