#include "logging/PreferencesZerOda.h"

#include <cstdlib>
#include <stdexcept>
#include <system_error>

#include "core/KorvaWrap.h"
#include "engine/api/Editor.h"
#include "logging/XMLComponentFailure.h"
#include "logging/XMLUtilities.h"

CServerPreferenceZerOda& CPreferencesZerOda::getAt(int index) {
    if (index < 0 || index >= getCount())
        throw std::invalid_argument("document monitor record index out of range");
    return *records_[static_cast<std::size_t>(index)];
}

const CServerPreferenceZerOda& CPreferencesZerOda::getAt(int index) const {
    if (index < 0 || index >= getCount())
        throw std::invalid_argument("document monitor record index out of range");
    return *records_[static_cast<std::size_t>(index)];
}

void CPreferencesZerOda::add(std::unique_ptr<CServerPreferenceZerOda> record) {
    if (!record) throw std::invalid_argument("adding a null document monitor record");
    records_.push_back(std::move(record));
}

void CPreferencesZerOda::deSerialize(const std::string& path) {
    korvaWrap(__FILE__, "CPreferencesZerOda::deSerialize", [&] {
        pugi::xml_document document;
        CXMLUtilities::loadDocument(document, path);
        const pugi::xml_node root = document.document_element();
        if (!root) throw CXMLComponentFailure{};
        if (CXMLUtilities::localName(root) != "documentMonitorPreferences") return;
        for (pugi::xml_node server = root.first_child(); server; server = server.next_sibling()) {
            if (!server.first_child()) continue;
            auto record = std::make_unique<CServerPreferenceZerOda>();
            record->deSerialize(server);
            add(std::move(record));
        }
    });
}

std::filesystem::path CPreferencesZerOda::defaultSettingsPath() {
    if (const char* chosen = std::getenv("BRINMO_MODULE_SETTINGS"); chosen != nullptr && *chosen != '\0')
        return chosen;
    return cad::appDataFolder() / "documentMonitorPreferences.xml";
}

CPreferencesZerOda& moduleDocumentMonitorSettings() {
    // Module-wide, as the settings of the monitoring service are for the whole module.
    static CPreferencesZerOda settings;
    return settings;
}

bool loadDocumentMonitorSettings(CPreferencesZerOda& settings) {
    const std::string path = CPreferencesZerOda::defaultSettingsPath().string();
    const char* chosen = std::getenv("BRINMO_MODULE_SETTINGS");
    const bool named = chosen != nullptr && *chosen != '\0';
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) {
        cad::printf("Cannot read the document monitor settings %s: it is a folder\n", path);
        return false;
    }
    // Without settings there is nothing to monitor; only a file the user named is missed.
    if (!std::filesystem::exists(path, error)) {
        if (named) cad::printf("Cannot read the document monitor settings %s: there is no such file\n", path);
        return false;
    }
    // Check the file first so that the user learns where it is broken; deSerialize only says that it failed.
    pugi::xml_document document;
    std::string problem;
    if (!CXMLUtilities::loadDocument(document, path, &problem)) {
        cad::printf("Cannot read the document monitor settings %s: %s\n", path, problem);
        return false;
    }
    if (const std::string root = CXMLUtilities::localName(document.document_element());
        root != "documentMonitorPreferences") {
        cad::printf("Cannot read the document monitor settings %s: the root element is <%s>, not "
                    "<documentMonitorPreferences>\n",
                    path, root);
        return false;
    }
    const int before = settings.getCount();
    try {
        settings.deSerialize(path);
    } catch (const CEXKorva& error) {
        error.printErrorTrace();
    }
    return settings.getCount() > before;
}
