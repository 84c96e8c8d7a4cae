#include "module/Preferences.h"

#include <cerrno>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <istream>
#include <ostream>

#include "core/FileUtilities.h"
#include "core/KorvaWrap.h"
#include "core/Utilities.h"
#include "engine/api/Dialogs.h"
#include "engine/api/Editor.h"
#include "module/PresPreferences.h"
#include "engine/api/Text.h"

namespace {

constexpr char kFileName[] = "prefs.cfg";
constexpr char kNotice[] =
    "Brinmo preferences, written by the module. Change them with the mprefs command; a hand edit "
    "must keep each key and its value on lines of their own.";

// The keys in file order. "precison" is how the file has always spelled it; files in use depend on it.
constexpr char kUnits[] = "units";
constexpr char kPrecision[] = "precison";
constexpr char kTextSize[] = "textSize";
constexpr char kTextScale[] = "textScale";
constexpr char kTextRotation[] = "textRotation";
constexpr char kCsvOpener[] = "csvOpener";
constexpr char kZoomBorder[] = "zoomBorder";
constexpr char kInc[] = "inc";

struct Folders {
    std::string preferences;
    std::string temporary;
};

// Module-wide: set when the module is loaded, read by every CPreferences made afterwards.
Folders& folders() {
    static Folders instance;
    return instance;
}

// One line as text mode reads it: a file written on Windows keeps no '\r'.
bool readLine(std::istream& in, std::string& line) {
    if (!std::getline(in, line)) return false;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return true;
}

std::string trimmed(std::string_view text) { return std::string(cad::trimBlanks(text, cad::kAllBlanks)); }

bool startsWith(const std::string& line, const char* key) {
    return line.compare(0, std::strlen(key), key) == 0;
}

double atLeastATenth(double value) { return value <= 0.0 ? 0.1 : value; }

}  // namespace

CPreferences::CPreferences() : filePath_(folders().preferences + kFileName) {}

const std::string& CPreferences::getPreferencesFolder() { return folders().preferences; }

const std::string& CPreferences::getTemporaryFolder() { return folders().temporary; }

void CPreferences::setFolders(std::string preferencesFolder, std::string temporaryFolder) {
    folders() = {std::move(preferencesFolder), std::move(temporaryFolder)};
}

int CPreferences::loadPreferences() {
    int result = 0;
    korvaTopLevel(__FILE__, "CPreferences::loadPreferences", [&] {
        std::ifstream in(filePath_);
        if (!in) return;
        readFile(in);
        result = 1;
    });
    return result;
}

void CPreferences::readFile(std::istream& in) {
    std::string line;
    if (!readLine(in, line)) return;
    // An empty line ends the settings: whatever follows it is not read.
    while (!line.empty()) {
        if (!startsWith(line, "//")) {
            const char* key = nullptr;
            for (const char* candidate :
                 {kUnits, kPrecision, kTextSize, kTextScale, kTextRotation, kCsvOpener, kZoomBorder, kInc}) {
                if (startsWith(line, candidate)) {
                    key = candidate;
                    break;
                }
            }
            if (key != nullptr) {
                std::string value;
                if (!readLine(in, value)) value.clear();
                value = trimmed(value);
                // Values outside what the preferences dialog accepts are hand edits gone wrong:
                // the setting keeps the value it had.
                if (key == kUnits) {
                    const int units = CUtilities::CStringToInt(value);
                    if (units == 0 || units == 1) units_ = units;
                } else if (key == kPrecision) {
                    const int precision = CUtilities::CStringToInt(value);
                    if (precision >= 0 && precision <= kMostPrecision) precision_ = precision;
                } else if (key == kTextSize) {
                    if (const double size = CUtilities::CStringToDouble(value); std::isfinite(size))
                        textSize_ = atLeastATenth(size);
                } else if (key == kTextScale) {
                    if (const double scale = CUtilities::CStringToDouble(value); std::isfinite(scale))
                        textScale_ = atLeastATenth(scale);
                } else if (key == kTextRotation) {
                    double rotation = CUtilities::CStringToDouble(value);
                    if (!std::isnan(rotation))
                        textRotation_ = rotation > 180.0 ? 180.0 : rotation < -180.0 ? -180.0 : rotation;
                } else if (key == kCsvOpener) {
                    csvOpener_ = value;
                } else if (key == kZoomBorder) {
                    const double border = CUtilities::CStringToDouble(value);
                    if (border >= 0.0 && border <= kMostZoomBorder) zoomBorder_ = border;
                } else if (key == kInc) {
                    // An increment out of range is a hand edit gone wrong: keep the one we have.
                    int inc = CUtilities::CStringToInt(value);
                    if (inc >= 1 && inc <= 100) inc_ = inc;
                }
            }
        }
        if (!readLine(in, line)) break;
    }
}

int CPreferences::savePreferences() {
    int result = 0;
    korvaTopLevel(__FILE__, "CPreferences::savePreferences", [&] {
        const std::string folder = std::filesystem::path(filePath_).parent_path().string();
        if (!folder.empty() && !CFileUtilities::ensureDirectoryExists(folder)) return;
        if (CFileUtilities::fileExists(filePath_)) CFileUtilities::deleteFile(filePath_);
        std::ofstream out(filePath_);
        if (out) {
            writeFile(out);
            out.close();
        }
        if (!out) {
            cad::messageBox("Error - Configuration Not Saved",
                            std::string("Unable to Write Configuration File - ") + std::strerror(errno),
                            cad::MessageBoxIcon::Error);
            return;
        }
        result = 1;
    });
    return result;
}

void CPreferences::writeFile(std::ostream& out) const {
    out << "//\t" << kNotice << '\n' << "//\n" << "//\tConfiguration file for Brinmo\n" << "//\n";
    auto pair = [&out](const char* key, const std::string& value) { out << key << '\n' << value << '\n'; };
    pair(kUnits, CUtilities::IntToCString(units_));
    pair(kPrecision, CUtilities::IntToCString(precision_));
    pair(kTextSize, CUtilities::DoubleToCString(textSize_, 2));
    pair(kTextScale, CUtilities::DoubleToCString(textScale_, 2));
    pair(kTextRotation, CUtilities::DoubleToCString(textRotation_, 2));
    pair(kCsvOpener, csvOpener_);
    pair(kZoomBorder, CUtilities::DoubleToCString(zoomBorder_, 0));
    pair(kInc, CUtilities::IntToCString(inc_));
}

void checkPreferencesExist() {
    korvaTopLevel(__FILE__, "checkPreferencesExist", [] {
        const std::filesystem::path base = cad::appDataBaseFolder();
        if (base.empty()) return;
        const std::filesystem::path product = base / "KorvaSystems" / "Brinmo";
        CPreferences::setFolders((product / "prefs").string() + "/", (product / "temp").string() + "/");
        CFileUtilities::ensureDirectoryExists(CPreferences::getPreferencesFolder());
        CFileUtilities::ensureDirectoryExists(CPreferences::getTemporaryFolder());

        const CPreferences preferences;
        if (std::ifstream(preferences.getFilePath())) return;
        // First load on this machine: the user confirms the settings, and OK or the close box
        // writes the file.
        CPresPreferences dialog;
        dialog.DoModal();
    });
}
