#include "logging/ServerPreferenceZerOda.h"

#include <string_view>

#include "core/KorvaWrap.h"
#include "core/Utilities.h"
#include "logging/XMLUtilities.h"

namespace {

enum class Kind { kText, kInteger, kFlag };

}  // namespace

bool CServerPreferenceZerOda::setValue(const std::string& key, const std::string& text) {
    struct Setting {
        std::string_view key;
        Kind kind;
        std::string CServerPreferenceZerOda::*text;
        int CServerPreferenceZerOda::*number;
    };
    using C = CServerPreferenceZerOda;
    static const Setting settings[] = {
        {"zerOdaErrorLogFilePath", Kind::kText, &C::zerOdaErrorLogFilePath_, nullptr},
        {"acadErrorLogFilePath", Kind::kText, &C::acadErrorLogFilePath_, nullptr},
        {"deletePeriodSecs", Kind::kInteger, nullptr, &C::deletePeriodSecs_},
        {"cacheOutPath", Kind::kText, &C::cacheOutPath_, nullptr},
        {"cachePlotTypeID", Kind::kInteger, nullptr, &C::cachePlotTypeID_},
        {"applyCachePlotSettings", Kind::kFlag, nullptr, &C::applyCachePlotSettings_},
        {"cachePlotCentred", Kind::kFlag, nullptr, &C::cachePlotCentred_},
        {"cachePlotScaleTypeID", Kind::kInteger, nullptr, &C::cachePlotScaleTypeID_},
        {"cachePlotAreaTypeID", Kind::kInteger, nullptr, &C::cachePlotAreaTypeID_},
        {"cachePlotMediaNameID", Kind::kInteger, nullptr, &C::cachePlotMediaNameID_},
        {"graphRepOutPath", Kind::kText, &C::graphRepOutPath_, nullptr},
        {"dbTimeout", Kind::kInteger, nullptr, &C::dbTimeout_},
        {"dbDatasource", Kind::kText, &C::dbDatasource_, nullptr},
        {"dbUserID", Kind::kText, &C::dbUserID_, nullptr},
        {"dbPassword", Kind::kText, &C::dbPassword_, nullptr},
        {"runAcadService", Kind::kFlag, nullptr, &C::runAcadService_},
        {"runAcadOnlyWhenRequired", Kind::kFlag, nullptr, &C::runAcadOnlyWhenRequired_},
        {"acadCheckPeriod", Kind::kInteger, nullptr, &C::acadCheckPeriod_},
        {"acadPath", Kind::kText, &C::acadPath_, nullptr},
        {"acadArguments", Kind::kText, &C::acadArguments_, nullptr},
        {"acadWorkingDirectory", Kind::kText, &C::acadWorkingDirectory_, nullptr},
        {"acadTempDirectory", Kind::kText, &C::acadTempDirectory_, nullptr},
        {"acadMaxSessionSecs", Kind::kInteger, nullptr, &C::acadMaxSessionSecs_},
        {"monitorAsbestos", Kind::kFlag, nullptr, &C::monitorAsbestos_},
        {"asbestosWaitPeriodSecs", Kind::kInteger, nullptr, &C::asbestosWaitPeriodSecs_},
        {"asbestosBatchSize", Kind::kInteger, nullptr, &C::asbestosBatchSize_},
        {"monitorCondition", Kind::kFlag, nullptr, &C::monitorCondition_},
        {"conditionWaitPeriodSecs", Kind::kInteger, nullptr, &C::conditionWaitPeriodSecs_},
        {"conditionBatchSize", Kind::kInteger, nullptr, &C::conditionBatchSize_},
        {"monitorIPC", Kind::kFlag, nullptr, &C::monitorIPC_},
        {"ipcWaitPeriodSecs", Kind::kInteger, nullptr, &C::ipcWaitPeriodSecs_},
        {"ipcBatchSize", Kind::kInteger, nullptr, &C::ipcBatchSize_},
        {"monitorIPR", Kind::kFlag, nullptr, &C::monitorIPR_},
        {"iprWaitPeriodSecs", Kind::kInteger, nullptr, &C::iprWaitPeriodSecs_},
        {"iprBatchSize", Kind::kInteger, nullptr, &C::iprBatchSize_},
        {"monitorLLT", Kind::kFlag, nullptr, &C::monitorLLT_},
        {"lltWaitPeriodSecs", Kind::kInteger, nullptr, &C::lltWaitPeriodSecs_},
        {"lltBatchSize", Kind::kInteger, nullptr, &C::lltBatchSize_},
        {"monitorSVG", Kind::kFlag, nullptr, &C::monitorSVG_},
        {"svgWaitPeriodSecs", Kind::kInteger, nullptr, &C::svgWaitPeriodSecs_},
        {"svgBatchSize", Kind::kInteger, nullptr, &C::svgBatchSize_},
        {"debugAcad", Kind::kText, &C::debugAcad_, nullptr},
        {"debugZerOda", Kind::kText, &C::debugZerOda_, nullptr},
    };
    for (const Setting& setting : settings) {
        if (setting.key != key) continue;
        switch (setting.kind) {
            case Kind::kText:
                this->*setting.text = text;
                break;
            case Kind::kInteger:
                this->*setting.number = CUtilities::CStringToInt(text);
                break;
            case Kind::kFlag:
                this->*setting.number = text == "1" ? 1 : 0;
                break;
        }
        return true;
    }
    return false;
}

void CServerPreferenceZerOda::deSerialize(const pugi::xml_node& node) {
    korvaWrap(__FILE__, "CServerPreferenceZerOda::deSerialize", [&] {
        for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
            if (!child.first_child()) continue;
            setValue(CXMLUtilities::localName(child), child.first_child().value());
        }
    });
}
