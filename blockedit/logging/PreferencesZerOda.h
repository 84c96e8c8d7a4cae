#pragma once
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "logging/ServerPreferenceZerOda.h"

// The document-monitor settings: the server records shared with the monitoring service, in file order.
class CPreferencesZerOda {
  public:
    CPreferencesZerOda() = default;
    virtual ~CPreferencesZerOda() { deleteObjects(); }
    CPreferencesZerOda(const CPreferencesZerOda&) = delete;
    CPreferencesZerOda& operator=(const CPreferencesZerOda&) = delete;

    int getCount() const { return static_cast<int>(records_.size()); }
    // Throws std::invalid_argument outside 0 to getCount() - 1.
    CServerPreferenceZerOda& getAt(int index);
    const CServerPreferenceZerOda& getAt(int index) const;
    void add(std::unique_ptr<CServerPreferenceZerOda> record);
    void deleteObjects() { records_.clear(); }

    // Appends one record per server element of the settings file below a documentMonitorPreferences
    // root; a root of another name adds nothing. Records already held stay.
    void deSerialize(const std::string& path);

    // Where the module looks for the settings: $BRINMO_MODULE_SETTINGS when set (the console's
    // --module-settings), else <application data>/brinmo/documentMonitorPreferences.xml.
    static std::filesystem::path defaultSettingsPath();

  private:
    std::vector<std::unique_ptr<CServerPreferenceZerOda>> records_;
};

// Loads the settings file at defaultSettingsPath() into settings when the file exists. A file that
// cannot be read is reported on the command line with its path and the parse error, and leaves the
// settings as they were. Answers whether records were read.
bool loadDocumentMonitorSettings(CPreferencesZerOda& settings);

// The settings the module read when it was loaded; the error-log report writes to their servers.
CPreferencesZerOda& moduleDocumentMonitorSettings();
