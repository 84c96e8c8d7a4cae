#pragma once
#include <string>

#include "logging/DateTime.h"

// The module as the document-monitor database ("zerOda") knows it: name, description, version and
// build date, and whether it runs.
class CModuleDetails {
  public:
    static constexpr const char* kCatalog = "zerOda";
    static constexpr const char* kBuildDate = "Jun 15 2017";

    CModuleDetails();

    // "__mod_setModDetails" with name, description, version and build date.
    void setModDetails(const std::string& dataSource, const std::string& userID, const std::string& password,
                       int timeout);
    // "__mod_setModRunning" with the module's name.
    void setModuleRunning(const std::string& dataSource, const std::string& userID, const std::string& password,
                          int timeout);

    const std::string& getModuleName() const { return moduleName_; }
    const std::string& getModuleDescription() const { return moduleDescription_; }
    const std::string& getModuleVersion() const { return moduleVersion_; }
    const CDateTime& getModuleDate() const { return moduleDate_; }
    int getRunning() const { return running_; }

    // "Mmm dd yyyy" as the build stamps it; an invalid date-time when the text does not parse.
    static CDateTime parseBuildDate(const std::string& text);

  private:
    std::string moduleName_;
    std::string moduleDescription_;
    CDateTime moduleDate_;
    std::string moduleVersion_;
    int running_ = 0;
};
