#pragma once
#include <pugixml.hpp>
#include <string>

// One server record of the document-monitor settings. Every field is named after its key in the
// settings file; integers are 32-bit, flags 0 or 1.
class CServerPreferenceZerOda {
  public:
    CServerPreferenceZerOda() = default;

    // Fills the record from a server element: each child element with content is one setting.
    void deSerialize(const pugi::xml_node& node);

    // Sets the field of the key from its text as the settings file gives it: texts as they are,
    // integers through the module's integer conversion, flags 1 only for exactly "1". Answers
    // false, changing nothing, for a key that is not a setting (compared case-sensitively).
    bool setValue(const std::string& key, const std::string& text);

    const std::string& getZerOdaErrorLogFilePath() const { return zerOdaErrorLogFilePath_; }
    const std::string& getAcadErrorLogFilePath() const { return acadErrorLogFilePath_; }
    int getDeletePeriodSecs() const { return deletePeriodSecs_; }
    const std::string& getCacheOutPath() const { return cacheOutPath_; }
    int getCachePlotTypeID() const { return cachePlotTypeID_; }
    int getApplyCachePlotSettings() const { return applyCachePlotSettings_; }
    int getCachePlotCentred() const { return cachePlotCentred_; }
    int getCachePlotScaleTypeID() const { return cachePlotScaleTypeID_; }
    int getCachePlotAreaTypeID() const { return cachePlotAreaTypeID_; }
    int getCachePlotMediaNameID() const { return cachePlotMediaNameID_; }
    const std::string& getGraphRepOutPath() const { return graphRepOutPath_; }
    int getDbTimeout() const { return dbTimeout_; }
    const std::string& getDbDatasource() const { return dbDatasource_; }
    const std::string& getDbUserID() const { return dbUserID_; }
    const std::string& getDbPassword() const { return dbPassword_; }
    int getRunAcadService() const { return runAcadService_; }
    int getRunAcadOnlyWhenRequired() const { return runAcadOnlyWhenRequired_; }
    int getAcadCheckPeriod() const { return acadCheckPeriod_; }
    const std::string& getAcadPath() const { return acadPath_; }
    const std::string& getAcadArguments() const { return acadArguments_; }
    const std::string& getAcadWorkingDirectory() const { return acadWorkingDirectory_; }
    const std::string& getAcadTempDirectory() const { return acadTempDirectory_; }
    int getAcadMaxSessionSecs() const { return acadMaxSessionSecs_; }
    int getMonitorAsbestos() const { return monitorAsbestos_; }
    int getAsbestosWaitPeriodSecs() const { return asbestosWaitPeriodSecs_; }
    int getAsbestosBatchSize() const { return asbestosBatchSize_; }
    int getMonitorCondition() const { return monitorCondition_; }
    int getConditionWaitPeriodSecs() const { return conditionWaitPeriodSecs_; }
    int getConditionBatchSize() const { return conditionBatchSize_; }
    int getMonitorIPC() const { return monitorIPC_; }
    int getIpcWaitPeriodSecs() const { return ipcWaitPeriodSecs_; }
    int getIpcBatchSize() const { return ipcBatchSize_; }
    int getMonitorIPR() const { return monitorIPR_; }
    int getIprWaitPeriodSecs() const { return iprWaitPeriodSecs_; }
    int getIprBatchSize() const { return iprBatchSize_; }
    int getMonitorLLT() const { return monitorLLT_; }
    int getLltWaitPeriodSecs() const { return lltWaitPeriodSecs_; }
    int getLltBatchSize() const { return lltBatchSize_; }
    int getMonitorSVG() const { return monitorSVG_; }
    int getSvgWaitPeriodSecs() const { return svgWaitPeriodSecs_; }
    int getSvgBatchSize() const { return svgBatchSize_; }
    const std::string& getDebugAcad() const { return debugAcad_; }
    const std::string& getDebugZerOda() const { return debugZerOda_; }

  private:
    std::string zerOdaErrorLogFilePath_;
    std::string acadErrorLogFilePath_;
    int deletePeriodSecs_ = 0;
    std::string cacheOutPath_;
    int cachePlotTypeID_ = 0;
    int applyCachePlotSettings_ = 0;
    int cachePlotCentred_ = 1;
    int cachePlotScaleTypeID_ = 0;
    int cachePlotAreaTypeID_ = 1;
    int cachePlotMediaNameID_ = 0;
    std::string graphRepOutPath_;
    int dbTimeout_ = 0;
    std::string dbDatasource_;
    std::string dbUserID_;
    std::string dbPassword_;
    int runAcadService_ = 0;
    int runAcadOnlyWhenRequired_ = 0;
    int acadCheckPeriod_ = 0;
    std::string acadPath_;
    std::string acadArguments_;
    std::string acadWorkingDirectory_;
    std::string acadTempDirectory_;
    int acadMaxSessionSecs_ = 0;
    int monitorAsbestos_ = 0;
    int asbestosWaitPeriodSecs_ = 10;
    int asbestosBatchSize_ = 25;
    int monitorCondition_ = 0;
    int conditionWaitPeriodSecs_ = 10;
    int conditionBatchSize_ = 25;
    int monitorIPC_ = 0;
    int ipcWaitPeriodSecs_ = 10;
    int ipcBatchSize_ = 25;
    int monitorIPR_ = 0;
    int iprWaitPeriodSecs_ = 10;
    int iprBatchSize_ = 25;
    int monitorLLT_ = 0;
    int lltWaitPeriodSecs_ = 10;
    int lltBatchSize_ = 25;
    int monitorSVG_ = 0;
    int svgWaitPeriodSecs_ = 10;
    int svgBatchSize_ = 25;
    std::string debugAcad_;
    std::string debugZerOda_;
};
