#include <gtest/gtest.h>

#include "LoggingTestSupport.h"
#include "core/EXKinds.h"
#include "core/EXUnhandled.h"
#include "core/ModuleInfo.h"
#include "engine/editor/HostOutput.h"
#include "logging/ErrorLogWriter.h"
#include "logging/Log.h"
#include "logging/LogNamespaces.h"
#include "logging/PreferencesZerOda.h"
#include "logging/XMLUtilities.h"

namespace {

class CEXQuiet : public CEXKind<CEXQuiet> {
  public:
    explicit CEXQuiet(std::uint32_t severity)
        : CEXKind(kModuleDescription, "C:\\src\\Quiet.cpp", "CQuiet::run") {
        setDescription("quiet <&> failure");
        setSeverity(severity);
    }
};

// handler -> intermediate -> colour error, as a failing colour conversion two calls down reports it.
CEXUnhandled threeLevelChain() {
    auto colour = std::make_unique<CEXInvalidHexColour>("#GG0000", "CUtilities", "Utilities.cpp",
                                                        "CUtilities::parseHashString");
    auto middle = std::make_unique<CEXUnhandled>(kModuleDescription, "/src/BlockDWG.cpp",
                                                 "CBlockDWG::applyHatch", 0, std::move(colour));
    return CEXUnhandled(kModuleDescription, "blockEdit.cpp", "updateSpaces", 0, std::move(middle));
}

std::vector<std::string> childNames(const pugi::xml_node& node) {
    std::vector<std::string> names;
    for (pugi::xml_node child : node.children()) names.push_back(CXMLUtilities::localName(child));
    return names;
}

pugi::xml_node loadRoot(pugi::xml_document& document, const std::string& path) {
    EXPECT_TRUE(CXMLUtilities::loadDocument(document, path)) << path;
    return document.document_element();
}

const std::vector<std::string> kEntryWithCause{"date",        "class",    "procSig",       "source",
                                               "description", "severity", "innerException"};
const std::vector<std::string> kEntry{"date", "class", "procSig", "source", "description", "severity"};

// Settings with one server record per error log path.
void addServers(CPreferencesZerOda& settings, const std::vector<std::string>& logs) {
    for (const std::string& log : logs) {
        auto record = std::make_unique<CServerPreferenceZerOda>();
        record->setValue("acadErrorLogFilePath", log);
        settings.add(std::move(record));
    }
}

}  // namespace

TEST(ErrorLog, FirstErrorCreatesTheLogWithBothInstructions) {
    TempFolder folder;
    const std::string path = folder.file("errors.xml");
    CLog().writeToXMLErrorLog(
        path, CEXInvalidHandle("2F1A", kModuleDescription, "PresBlockEdit.cpp", "CPresBlockEdit::OnSelect"));
    const std::string text = readFile(path);
    EXPECT_EQ(text.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                         "<?xml-stylesheet type=\"text/xsl\" href=\"errorLog.xsl\"?>\n"
                         "<errors xmlns=\"urn:brinmo:errors\">\n  <error>\n",
                         0),
              0u)
        << text;
    EXPECT_EQ(text.find("xmlns=", text.find("<error>")), std::string::npos)
        << "entries inherit the namespace";
    EXPECT_TRUE(xmllintAccepts(path));
    EXPECT_EQ(readFile(folder.file("errorLog.xsl")),
              readFile(std::string(BRINMO_SOURCE_DIR) + "/blockedit/logging/errorLog.xsl"));

    pugi::xml_document document;
    const pugi::xml_node root = loadRoot(document, path);
    EXPECT_EQ(CXMLUtilities::namespaceURI(root), kErrorsNamespaceURI);
    ASSERT_EQ(childNames(root), std::vector<std::string>{"error"});
    const pugi::xml_node entry = root.child("error");
    EXPECT_EQ(childNames(entry), kEntry);
    EXPECT_STREQ(entry.child("class").text().get(), "PresBlockEdit");
    EXPECT_STREQ(entry.child("procSig").text().get(), "CPresBlockEdit::OnSelect");
    EXPECT_STREQ(entry.child("source").text().get(), "Korva Brinmo compatible with 64bit AutoCAD 2018");
    EXPECT_STREQ(entry.child("description").text().get(), "Invalid Handle - 2F1A");
    EXPECT_STREQ(entry.child("severity").text().get(), "medium");
    EXPECT_EQ(childNames(entry.child("date")),
              (std::vector<std::string>{"year", "month", "day", "hour", "minute", "second"}));
    EXPECT_NE(std::string(entry.child("date").child("year").text().get()), "-1");
}

TEST(ErrorLog, ChainsNestAndLaterErrorsAppend) {
    TempFolder folder;
    const std::string path = folder.file("errors.xml");
    CLog().writeToXMLErrorLog(path, threeLevelChain());
    CLog().writeToXMLErrorLog(path, CEXQuiet(0));
    CLog().writeToXMLErrorLog(path, CEXQuiet(7));
    EXPECT_TRUE(xmllintAccepts(path));

    pugi::xml_document document;
    const pugi::xml_node root = loadRoot(document, path);
    ASSERT_EQ(childNames(root), (std::vector<std::string>{"error", "error", "error"}));
    const pugi::xml_node outer = root.first_child();
    EXPECT_EQ(childNames(outer), kEntryWithCause);
    EXPECT_STREQ(outer.child("class").text().get(), "blockEdit");
    EXPECT_STREQ(outer.child("description").text().get(), "unhandled error");
    EXPECT_STREQ(outer.child("severity").text().get(), "high");
    const pugi::xml_node middle = outer.child("innerException").child("error");
    ASSERT_EQ(childNames(outer.child("innerException")), std::vector<std::string>{"error"});
    EXPECT_EQ(childNames(middle), kEntryWithCause);
    EXPECT_STREQ(middle.child("class").text().get(), "BlockDWG");
    EXPECT_STREQ(middle.child("procSig").text().get(), "CBlockDWG::applyHatch");
    const pugi::xml_node inner = middle.child("innerException").child("error");
    EXPECT_EQ(childNames(inner), kEntry);
    EXPECT_STREQ(inner.child("source").text().get(), "CUtilities");
    EXPECT_STREQ(inner.child("description").text().get(), "Invalid Hex Colour - #GG0000");
    EXPECT_EQ(CXMLUtilities::namespaceURI(inner.child("severity")), kErrorsNamespaceURI);

    const pugi::xml_node low = outer.next_sibling();
    EXPECT_STREQ(low.child("severity").text().get(), "low");
    EXPECT_STREQ(low.child("class").text().get(), "Quiet");
    EXPECT_STREQ(low.child("description").text().get(), "quiet <&> failure");
    EXPECT_STREQ(low.next_sibling().child("severity").text().get(), "high");
}

TEST(ErrorLog, ALogThatIsNotXMLFailsAndStaysUntouched) {
    TempFolder folder;
    const std::string path = folder.file("errors.xml");
    writeFile(path, "this is not XML\n");
    try {
        CLog().writeToXMLErrorLog(path, CEXQuiet(1));
        FAIL() << "no failure";
    } catch (const CEXKorva& error) {
        EXPECT_EQ(error.getProcSig(), "CLog::writeToXMLErrorLog");
        EXPECT_EQ(error.getClass(), "Log");
        EXPECT_EQ(error.getDescription(), "unhandled error");
        EXPECT_EQ(error.getSeverity(), 2u);
        EXPECT_EQ(error.getInnerException(), nullptr);
    }
    EXPECT_EQ(readFile(path), "this is not XML\n");
    EXPECT_FALSE(std::filesystem::exists(folder.file("errorLog.xsl")));

    // A log that cannot be created fails the same way, never half-written.
    EXPECT_THROW(CLog().writeToXMLErrorLog(folder.file("no/such/folder/errors.xml"), CEXQuiet(1)), CEXKorva);
}

TEST(ErrorLog, ALogWithAnotherRootGetsNoEntry) {
    TempFolder folder;
    const std::string path = folder.file("errors.xml");
    writeFile(
        path,
        "<?xml version=\"1.0\"?>\n<debugging xmlns=\"urn:brinmo:debugging\"><kept>1</kept></debugging>");
    CLog().writeToXMLErrorLog(path, CEXQuiet(1));
    pugi::xml_document document;
    const pugi::xml_node root = loadRoot(document, path);
    EXPECT_EQ(CXMLUtilities::localName(root), "debugging");
    EXPECT_EQ(childNames(root), std::vector<std::string>{"kept"});
}

TEST(DebugLog, ALogThatIsNotXMLIsAnInvalidXMLFile) {
    TempFolder folder;
    const std::string path = folder.file("debug.xml");
    writeFile(path, "plain words, no element");
    try {
        CLog().writeToXMLDebugLog(path, "execSPNoReturnNoParas", pugi::xml_node());
        FAIL() << "no failure";
    } catch (const CEXKorva& error) {
        EXPECT_EQ(error.getProcSig(), "CLog::writeToXMLDebugLog");
        ASSERT_NE(error.getInnerException(), nullptr);
        EXPECT_EQ(error.getInnerException()->getDescription(), "Invalid XML file - " + path);
        EXPECT_EQ(error.getInnerException()->getProcSig(), "CLog::writeToXMLDebugLog");
        EXPECT_EQ(error.getInnerException()->getClass(), "Log");
    }
    EXPECT_EQ(readFile(path), "plain words, no element");
}

TEST(ErrorLog, EveryServerLogGetsTheError) {
    TempFolder folder;
    CPreferencesZerOda settings;
    CLog().writeToXMLErrorLogs(settings, CEXQuiet(1));
    EXPECT_TRUE(std::filesystem::is_empty(folder.path()));

    addServers(settings, {folder.file("a.xml"), folder.file("b.xml"), folder.file("a.xml")});
    CLog().writeToXMLErrorLogs(settings, CEXQuiet(1));
    pugi::xml_document a;
    pugi::xml_document b;
    EXPECT_EQ(childNames(loadRoot(a, folder.file("a.xml"))).size(), 2u);
    EXPECT_EQ(childNames(loadRoot(b, folder.file("b.xml"))).size(), 1u);
}

TEST(ErrorLog, ErrorLogReportPrintsANoticePerServer) {
    TempFolder folder;
    CPreferencesZerOda settings;
    cad::CapturedOutput output;
    {
        CErrorLogWriter writer(settings);
        threeLevelChain().reportToErrorLog(writer);
    }
    EXPECT_EQ(output.text(), "An error has been detected please consult the error log\n");
    EXPECT_TRUE(std::filesystem::is_empty(folder.path()));

    output.clear();
    addServers(settings, {folder.file("one.xml"), folder.file("two.xml")});
    CErrorLogWriter writer(settings);
    threeLevelChain().reportToErrorLog(writer);
    EXPECT_EQ(output.text(),
              "An error has been detected please consult the error log\n"
              "An error has been detected in updateSpaces. Please consult the error log\n"
              "An error has been detected in updateSpaces. Please consult the error log\n");
    for (const char* log : {"one.xml", "two.xml"}) {
        pugi::xml_document document;
        const pugi::xml_node root = loadRoot(document, folder.file(log));
        EXPECT_STREQ(root.child("error").child("procSig").text().get(), "updateSpaces") << log;
    }
}

TEST(ErrorLog, RendersAsHtmlWithItsStylesheet) {
    if (!toolAvailable("xsltproc")) GTEST_SKIP() << "xsltproc is not installed";
    TempFolder folder;
    const std::string path = folder.file("errors.xml");
    CLog().writeToXMLErrorLog(path, CEXQuiet(0));
    CLog().writeToXMLErrorLog(path, threeLevelChain());
    const std::string page = rendered(folder, "errors.xml", "errorLog.xsl");
    ASSERT_FALSE(page.empty());
    EXPECT_NE(page.find("<title>Brinmo error log</title>"), std::string::npos);
    EXPECT_NE(page.find("2 error(s) recorded"), std::string::npos) << page;
    // Newest first: the chain written last comes before the quiet error.
    const auto chain = page.find("blockEdit :: updateSpaces");
    const auto quiet = page.find("Quiet :: CQuiet::run");
    ASSERT_NE(chain, std::string::npos) << page;
    ASSERT_NE(quiet, std::string::npos) << page;
    EXPECT_LT(chain, quiet);
    EXPECT_NE(page.find("BlockDWG :: CBlockDWG::applyHatch"), std::string::npos);
    EXPECT_NE(page.find("Invalid Hex Colour - #GG0000"), std::string::npos);
    EXPECT_NE(page.find("quiet &lt;&amp;&gt; failure"), std::string::npos);
    EXPECT_NE(page.find("class=\"entry low\""), std::string::npos);
}
