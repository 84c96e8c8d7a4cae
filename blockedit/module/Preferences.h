#pragma once
#include <string>

// The user's settings, kept in the machine-wide file prefs.cfg. Every command that needs a setting
// builds one of these and loads it, so a change takes effect at the next command.
class CPreferences {
public:
    // The ranges the preferences dialog accepts; the file is read with the same.
    static constexpr int kMostPrecision = 9;
    static constexpr double kMostZoomBorder = 10000.0;

    CPreferences();
    virtual ~CPreferences() = default;
    CPreferences(const CPreferences&) = default;
    CPreferences& operator=(const CPreferences&) = default;

    // 1 when the file was read, 0 when it could not be opened (the values then stay as they are).
    int loadPreferences();
    // 1 when the file was written, 0 otherwise (the reason has been shown).
    int savePreferences();

    int getUnits() const { return units_; }
    void setUnits(int units) { units_ = units; }
    int getPrecision() const { return precision_; }
    void setPrecision(int precision) { precision_ = precision; }
    double getTextSize() const { return textSize_; }
    void setTextSize(double size) { textSize_ = size; }
    double getTextScale() const { return textScale_; }
    void setTextScale(double scale) { textScale_ = scale; }
    double getTextRotation() const { return textRotation_; }
    void setTextRotation(double rotation) { textRotation_ = rotation; }
    int getInc() const { return inc_; }
    void setInc(int inc) { inc_ = inc; }
    const std::string& getCsvOpener() const { return csvOpener_; }
    void setCsvOpener(std::string opener) { csvOpener_ = std::move(opener); }
    double getZoomBorder() const { return zoomBorder_; }
    void setZoomBorder(double border) { zoomBorder_ = border; }
    const std::string& getFilePath() const { return filePath_; }
    void setFilePath(std::string path) { filePath_ = std::move(path); }

    // The folders under the application data folder, ending with a separator; "" until
    // checkPreferencesExist has found the application data folder.
    static const std::string& getPreferencesFolder();
    static const std::string& getTemporaryFolder();

private:
    friend void checkPreferencesExist();
    static void setFolders(std::string preferencesFolder, std::string temporaryFolder);

    void readFile(std::istream& in);
    void writeFile(std::ostream& out) const;

    int units_ = 0;
    int precision_ = 2;
    double textSize_ = 250.0;
    double textScale_ = 1.0;
    double textRotation_ = 0.0;
    int inc_ = 1;
    std::string csvOpener_ = "NONE";
    double zoomBorder_ = 1000.0;
    std::string filePath_;
};

// Run when the module is loaded: sets the preference and temporary folders under the application
// data folder and creates them; when there is no preferences file yet, shows the preferences
// dialog, whose OK or close box writes it. Failures are shown, never thrown.
void checkPreferencesExist();
