#include <gtest/gtest.h>

#include "LoggingTestSupport.h"
#include "core/EXKorva.h"
#include "engine/editor/HostOutput.h"
#include "engine/api/Editor.h"
#include "logging/PreferencesZerOda.h"

namespace {

const char* kTwoServers = R"(<?xml version="1.0" encoding="UTF-8"?>
<documentMonitorPreferences xmlns="urn:any">
  <server>
    <acadErrorLogFilePath>/var/log/brinmo/first.xml</acadErrorLogFilePath>
    <dbTimeout>45</dbTimeout>
    <dbDatasource>props01</dbDatasource>
    <applyCachePlotSettings>1</applyCachePlotSettings>
    <cachePlotCentred>true</cachePlotCentred>
    <monitorIPR>yes</monitorIPR>
    <monitorSVG>1</monitorSVG>
    <iprBatchSize>abc</iprBatchSize>
    <svgBatchSize>1,000</svgBatchSize>
    <lltBatchSize>-7</lltBatchSize>
    <acadCheckPeriod>12abc</acadCheckPeriod>
    <acadMaxSessionSecs>-1.5</acadMaxSessionSecs>
    <cachePlotAreaTypeID></cachePlotAreaTypeID>
    <unknownKey>5</unknownKey>
    <DBTIMEOUT>99</DBTIMEOUT>
    <acadTempDirectory>/tmp/one</acadTempDirectory>
    <acadTempDirectory>/tmp/two</acadTempDirectory>
    <p:graphRepOutPath xmlns:p="urn:p">/srv/reports</p:graphRepOutPath>
  </server>
  <empty/>
  <anotherName><acadErrorLogFilePath>/var/log/brinmo/second.xml</acadErrorLogFilePath></anotherName>
</documentMonitorPreferences>
)";

}  // namespace

// What a server without a preferences file works with.
TEST(ServerPreferenceZerOda, DefaultsOfAFreshRecord) {
    const CServerPreferenceZerOda record;
    EXPECT_EQ(record.getCachePlotCentred(), 1);
    EXPECT_EQ(record.getCachePlotAreaTypeID(), 1);
    EXPECT_EQ(record.getApplyCachePlotSettings(), 0);
    for (int wait : {record.getAsbestosWaitPeriodSecs(), record.getConditionWaitPeriodSecs(),
                     record.getIpcWaitPeriodSecs(), record.getIprWaitPeriodSecs(),
                     record.getLltWaitPeriodSecs(), record.getSvgWaitPeriodSecs()})
        EXPECT_EQ(wait, 10);
    for (int batch : {record.getAsbestosBatchSize(), record.getConditionBatchSize(), record.getIpcBatchSize(),
                      record.getIprBatchSize(), record.getLltBatchSize(), record.getSvgBatchSize()})
        EXPECT_EQ(batch, 25);
}

TEST(ServerPreferenceZerOda, EveryKeyReachesItsField) {
    using R = CServerPreferenceZerOda;
    const std::pair<const char*, const std::string& (R::*)() const> texts[] = {
        {"zerOdaErrorLogFilePath", &R::getZerOdaErrorLogFilePath},
        {"acadErrorLogFilePath", &R::getAcadErrorLogFilePath},
        {"cacheOutPath", &R::getCacheOutPath},
        {"graphRepOutPath", &R::getGraphRepOutPath},
        {"dbDatasource", &R::getDbDatasource},
        {"dbUserID", &R::getDbUserID},
        {"dbPassword", &R::getDbPassword},
        {"acadPath", &R::getAcadPath},
        {"acadArguments", &R::getAcadArguments},
        {"acadWorkingDirectory", &R::getAcadWorkingDirectory},
        {"acadTempDirectory", &R::getAcadTempDirectory},
        {"debugAcad", &R::getDebugAcad},
        {"debugZerOda", &R::getDebugZerOda}};
    // Each number gets a value of its own, so that two keys filling one field show.
    const std::pair<const char*, int (R::*)() const> numbers[] = {
        {"deletePeriodSecs", &R::getDeletePeriodSecs},
        {"cachePlotTypeID", &R::getCachePlotTypeID},
        {"cachePlotScaleTypeID", &R::getCachePlotScaleTypeID},
        {"cachePlotAreaTypeID", &R::getCachePlotAreaTypeID},
        {"cachePlotMediaNameID", &R::getCachePlotMediaNameID},
        {"dbTimeout", &R::getDbTimeout},
        {"acadCheckPeriod", &R::getAcadCheckPeriod},
        {"acadMaxSessionSecs", &R::getAcadMaxSessionSecs},
        {"asbestosWaitPeriodSecs", &R::getAsbestosWaitPeriodSecs},
        {"asbestosBatchSize", &R::getAsbestosBatchSize},
        {"conditionWaitPeriodSecs", &R::getConditionWaitPeriodSecs},
        {"conditionBatchSize", &R::getConditionBatchSize},
        {"ipcWaitPeriodSecs", &R::getIpcWaitPeriodSecs},
        {"ipcBatchSize", &R::getIpcBatchSize},
        {"iprWaitPeriodSecs", &R::getIprWaitPeriodSecs},
        {"iprBatchSize", &R::getIprBatchSize},
        {"lltWaitPeriodSecs", &R::getLltWaitPeriodSecs},
        {"lltBatchSize", &R::getLltBatchSize},
        {"svgWaitPeriodSecs", &R::getSvgWaitPeriodSecs},
        {"svgBatchSize", &R::getSvgBatchSize}};
    const std::pair<const char*, int (R::*)() const> flags[] = {
        {"applyCachePlotSettings", &R::getApplyCachePlotSettings},
        {"runAcadService", &R::getRunAcadService},
        {"runAcadOnlyWhenRequired", &R::getRunAcadOnlyWhenRequired},
        {"monitorAsbestos", &R::getMonitorAsbestos},
        {"monitorCondition", &R::getMonitorCondition},
        {"monitorIPC", &R::getMonitorIPC},
        {"monitorIPR", &R::getMonitorIPR},
        {"monitorLLT", &R::getMonitorLLT},
        {"monitorSVG", &R::getMonitorSVG}};
    R record;
    for (const auto& [key, get] : texts) EXPECT_TRUE(record.setValue(key, std::string("v-") + key)) << key;
    int value = 100;
    for (const auto& [key, get] : numbers) EXPECT_TRUE(record.setValue(key, std::to_string(value++))) << key;
    for (const auto& [key, get] : flags) EXPECT_TRUE(record.setValue(key, "1")) << key;
    EXPECT_TRUE(record.setValue("cachePlotCentred", "0"));
    EXPECT_FALSE(record.setValue("dbtimeout", "5"));
    EXPECT_FALSE(record.setValue("", "5"));

    for (const auto& [key, get] : texts) EXPECT_EQ((record.*get)(), std::string("v-") + key);
    value = 100;
    for (const auto& [key, get] : numbers) EXPECT_EQ((record.*get)(), value++) << key;
    for (const auto& [key, get] : flags) EXPECT_EQ((record.*get)(), 1) << key;
    EXPECT_EQ(record.getCachePlotCentred(), 0);
}

TEST(PreferencesZerOda, ReadsServersInOrderWithTheReadingRules) {
    TempFolder folder;
    const std::string path = folder.file("settings.xml");
    writeFile(path, kTwoServers);
    CPreferencesZerOda settings;
    settings.deSerialize(path);
    ASSERT_EQ(settings.getCount(), 2);  // <empty/> has no children and is no record

    const CServerPreferenceZerOda& first = settings.getAt(0);
    EXPECT_EQ(first.getAcadErrorLogFilePath(), "/var/log/brinmo/first.xml");
    EXPECT_EQ(first.getDbTimeout(), 45);
    EXPECT_EQ(first.getDbDatasource(), "props01");
    EXPECT_EQ(first.getApplyCachePlotSettings(), 1);
    EXPECT_EQ(first.getCachePlotCentred(), 0);  // "true" is not "1"
    EXPECT_EQ(first.getMonitorIPR(), 0);
    EXPECT_EQ(first.getMonitorSVG(), 1);
    EXPECT_EQ(first.getIprBatchSize(), 0);  // not a number
    EXPECT_EQ(first.getSvgBatchSize(), 1);  // commas pass the number check, the conversion stops there
    EXPECT_EQ(first.getLltBatchSize(), -7);
    EXPECT_EQ(first.getAcadCheckPeriod(), 0);  // a number followed by letters is no number
    EXPECT_EQ(first.getAcadMaxSessionSecs(), -1);
    EXPECT_EQ(first.getCachePlotAreaTypeID(), 1);  // an empty key keeps the default
    EXPECT_EQ(first.getAcadTempDirectory(), "/tmp/two");
    EXPECT_EQ(first.getGraphRepOutPath(), "/srv/reports");  // matched by local name

    EXPECT_EQ(settings.getAt(1).getAcadErrorLogFilePath(), "/var/log/brinmo/second.xml");
    EXPECT_EQ(settings.getAt(1).getDbTimeout(), 0);
    EXPECT_THROW(settings.getAt(2), std::invalid_argument);
    EXPECT_THROW(settings.getAt(-1), std::invalid_argument);

    settings.deSerialize(path);
    EXPECT_EQ(settings.getCount(), 4);
    EXPECT_EQ(settings.getAt(3).getAcadErrorLogFilePath(), "/var/log/brinmo/second.xml");
    settings.deleteObjects();
    EXPECT_EQ(settings.getCount(), 0);
}

TEST(PreferencesZerOda, EmptyOrForeignFilesGiveNoRecords) {
    TempFolder folder;
    CPreferencesZerOda settings;
    writeFile(folder.file("empty.xml"), "<documentMonitorPreferences/>");
    settings.deSerialize(folder.file("empty.xml"));
    EXPECT_EQ(settings.getCount(), 0);
    writeFile(folder.file("other.xml"),
              "<preferences><server><dbTimeout>3</dbTimeout></server></preferences>");
    settings.deSerialize(folder.file("other.xml"));
    EXPECT_EQ(settings.getCount(), 0);
    writeFile(folder.file("text.xml"), "<documentMonitorPreferences>loose text</documentMonitorPreferences>");
    settings.deSerialize(folder.file("text.xml"));
    EXPECT_EQ(settings.getCount(), 0);

    writeFile(folder.file("broken.xml"), "<documentMonitorPreferences><server><dbTimeout>3</server>");
    try {
        settings.deSerialize(folder.file("broken.xml"));
        FAIL() << "no failure";
    } catch (const CEXKorva& error) {
        EXPECT_EQ(error.getProcSig(), "CPreferencesZerOda::deSerialize");
        EXPECT_EQ(error.getClass(), "PreferencesZerOda");
        EXPECT_EQ(error.getDescription(), "unhandled error");
    }
    EXPECT_EQ(settings.getCount(), 0);
}

TEST(PreferencesZerOda, SettingsFileLiesInTheApplicationDataFolder) {
    TempFolder folder;
    {
        ScopedEnvironment own("BRINMO_APPDATA", folder.path().string());
        EXPECT_EQ(CPreferencesZerOda::defaultSettingsPath(),
                  folder.path() / "brinmo" / "documentMonitorPreferences.xml");
    }
    ScopedEnvironment none("BRINMO_APPDATA", "");
    {
        ScopedEnvironment xdg("XDG_DATA_HOME", "/srv/data");
        EXPECT_EQ(cad::appDataFolder(), std::filesystem::path("/srv/data/brinmo"));
    }
    ScopedEnvironment noXdg("XDG_DATA_HOME", "");
    ScopedEnvironment home("HOME", "/home/planner");
    EXPECT_EQ(cad::appDataBaseFolder(), std::filesystem::path("/home/planner/.local/share"));
}

TEST(PreferencesZerOda, StartupLoadReadsThePresentFileAndReportsABrokenOne) {
    TempFolder folder;
    ScopedEnvironment own("BRINMO_APPDATA", folder.path().string());
    CPreferencesZerOda settings;
    cad::CapturedOutput output;
    EXPECT_FALSE(loadDocumentMonitorSettings(settings));  // no file: nothing to say
    EXPECT_EQ(output.text(), "");

    std::filesystem::create_directories(folder.path() / "brinmo");
    const std::string path = CPreferencesZerOda::defaultSettingsPath().string();
    writeFile(
        path,
        "<documentMonitorPreferences>\n  <server><dbTimeout>5</dbTimeout>\n</documentMonitorPreferences>\n");
    EXPECT_FALSE(loadDocumentMonitorSettings(settings));
    EXPECT_EQ(settings.getCount(), 0);
    EXPECT_NE(output.text().find("Cannot read the document monitor settings " + path + ": line 3"),
              std::string::npos)
        << output.text();

    output.clear();
    writeFile(path, kTwoServers);
    EXPECT_TRUE(loadDocumentMonitorSettings(settings));
    EXPECT_EQ(settings.getCount(), 2);
    EXPECT_EQ(output.text(), "");
}
