#include <array>
#include <filesystem>

#include "core/EXKinds.h"
#include "core/KorvaWrap.h"
#include "core/ModuleInfo.h"
#include "host/AcadUtilities.h"

namespace {

constexpr char kFile[] = __FILE__;

// The host's canonical media names; a media code is the position in this list.
constexpr std::array<const char*, 89> kMediaNames = {
    "ISO_A1_(841.00_x_594.00_MM)",
    "ISO_A1_(594.00_x_841.00_MM)",
    "ISO_A2_(594.00_x_420.00_MM)",
    "ISO_A2_(420.00_x_594.00_MM)",
    "ISO_A3_(420.00_x_297.00_MM)",
    "ISO_A3_(297.00_x_420.00_MM)",
    "ISO_A4_(297.00_x_210.00_MM)",
    "ISO_A4_(210.00_x_297.00_MM)",
    "ISO_A0_(841.00_x_1189.00_MM)",
    "ISO_expand_A4_(297.00_x_210.00_MM)",
    "ISO_expand_A4_(210.00_x_297.00_MM)",
    "ISO_expand_A3_(420.00_x_297.00_MM)",
    "ISO_expand_A3_(297.00_x_420.00_MM)",
    "ISO_expand_A2_(594.00_x_420.00_MM)",
    "ISO_expand_A2_(420.00_x_594.00_MM)",
    "ISO_expand_A1_(841.00_x_594.00_MM)",
    "ISO_expand_A1_(594.00_x_841.00_MM)",
    "ISO_expand_A0_(841.00_x_1189.00_MM)",
    "ISO_full_bleed_A5_(210.00_x_148.00_MM)",
    "ISO_full_bleed_A5_(148.00_x_210.00_MM)",
    "ISO_full_bleed_A4_(297.00_x_210.00_MM)",
    "ISO_full_bleed_A4_(210.00_x_297.00_MM)",
    "ISO_full_bleed_A3_(420.00_x_297.00_MM)",
    "ISO_full_bleed_A3_(297.00_x_420.00_MM)",
    "ISO_full_bleed_A2_(594.00_x_420.00_MM)",
    "ISO_full_bleed_A2_(420.00_x_594.00_MM)",
    "ISO_full_bleed_A1_(841.00_x_594.00_MM)",
    "ISO_full_bleed_A1_(594.00_x_841.00_MM)",
    "ISO_full_bleed_A0_(841.00_x_1189.00_MM)",
    "ISO_full_bleed_B3_(500.00_x_353.00_MM)",
    "ISO_full_bleed_B3_(353.00_x_500.00_MM)",
    "ISO_full_bleed_B2_(707.00_x_500.00_MM)",
    "ISO_full_bleed_B2_(500.00_x_707.00_MM)",
    "ISO_full_bleed_B1_(1000.00_x_707.00_MM)",
    "ISO_full_bleed_B1_(707.00_x_1000.00_MM)",
    "ISO_full_bleed_B0_(1414.00_x_1000.00_MM)",
    "ISO_full_bleed_B0_(1000.00_x_1414.00_MM)",
    "ISO_full_bleed_2A0_(1189.00_x_1682.00_MM)",
    "ISO_full_bleed_4A0_(1682.00_x_2378.00_MM)",
    "ANSI_A_(11.00_x_8.50_Inches)",
    "ANSI_A_(8.50_x_11.00_Inches)",
    "ANSI_B_(17.00_x_11.00_Inches)",
    "ANSI_B_(11.00_x_17.00_Inches)",
    "ANSI_C_(22.00_x_17.00_Inches)",
    "ANSI_C_(17.00_x_22.00_Inches)",
    "ANSI_D_(34.00_x_22.00_Inches)",
    "ANSI_D_(22.00_x_34.00_Inches)",
    "ANSI_E_(34.00_x_44.00_Inches)",
    "ANSI_expand_A_(11.00_x_8.50_Inches)",
    "ANSI_expand_A_(8.50_x_11.00_Inches)",
    "ANSI_expand_B_(17.00_x_11.00_Inches)",
    "ANSI_expand_B_(11.00_x_17.00_Inches)",
    "ANSI_expand_C_(22.00_x_17.00_Inches)",
    "ANSI_expand_C_(17.00_x_22.00_Inches)",
    "ANSI_expand_D_(34.00_x_22.00_Inches)",
    "ANSI_expand_D_(22.00_x_34.00_Inches)",
    "ANSI_expand_E_(34.00_x_44.00_Inches)",
    "ANSI_full_bleed_F_(28.00_x_40.00_Inches)",
    "ANSI_full_bleed_E_(34.00_x_44.00_Inches)",
    "ANSI_full_bleed_D_(34.00_x_22.00_Inches)",
    "ANSI_full_bleed_D_(22.00_x_34.00_Inches)",
    "ANSI_full_bleed_C_(22.00_x_17.00_Inches)",
    "ANSI_full_bleed_C_(17.00_x_22.00_Inches)",
    "ANSI_full_bleed_B_(17.00_x_11.00_Inches)",
    "ANSI_full_bleed_B_(11.00_x_17.00_Inches)",
    "ANSI_full_bleed_A_(11.00_x_8.50_Inches)",
    "ANSI_full_bleed_A_(8.50_x_11.00_Inches)",
    "ARCH_C_(24.00_x_18.00_Inches)",
    "ARCH_C_(18.00_x_24.00_Inches)",
    "ARCH_D_(36.00_x_24.00_Inches)",
    "ARCH_D_(24.00_x_36.00_Inches)",
    "ARCH_E_(36.00_x_48.00_Inches)",
    "ARCH_E1_(30.00_x_42.00_Inches)",
    "ARCH_expand_C_(24.00_x_18.00_Inches)",
    "ARCH_expand_C_(18.00_x_24.00_Inches)",
    "ARCH_expand_D_(36.00_x_24.00_Inches)",
    "ARCH_expand_D_(24.00_x_36.00_Inches)",
    "ARCH_expand_E_(36.00_x_48.00_Inches)",
    "ARCH_expand_E1_(30.00_x_42.00_Inches)",
    "ARCH_full_bleed_E1_(30.00_x_42.00_Inches)",
    "ARCH_full_bleed_E_(36.00_x_48.00_Inches)",
    "ARCH_full_bleed_D_(36.00_x_24.00_Inches)",
    "ARCH_full_bleed_D_(24.00_x_36.00_Inches)",
    "ARCH_full_bleed_C_(24.00_x_18.00_Inches)",
    "ARCH_full_bleed_C_(18.00_x_24.00_Inches)",
    "ARCH_full_bleed_B_(18.00_x_12.00_Inches)",
    "ARCH_full_bleed_B_(12.00_x_18.00_Inches)",
    "ARCH_full_bleed_A_(12.00_x_9.00_Inches)",
    "ARCH_full_bleed_A_(9.00_x_12.00_Inches)",
};

}  // namespace

std::string CAcadUtilities::convertPlotDevice(int plotTypeID) {
    return korvaWrap(kFile, "CAcadUtilities::convertPlotDevice", [&] {
        switch (plotTypeID) {
            case 1: return std::string("DWG To PDF.pc3");
            case 2: return std::string("PublishToWeb JPG.pc3");
            case 3: return std::string("PublishToWeb PNG.pc3");
            default: return std::string("DWF6 ePlot.pc3");
        }
    });
}

std::string CAcadUtilities::plotExtension(int plotTypeID) {
    return korvaWrap(kFile, "CAcadUtilities::plotExtension", [&] {
        switch (plotTypeID) {
            case 1: return std::string(".pdf");
            case 2: return std::string(".jpg");
            case 3: return std::string(".png");
            default: return std::string(".dwf");
        }
    });
}

void CAcadUtilities::checkPlotFileExtension(std::string& plotFilename, int plotTypeID) {
    korvaWrap(kFile, "CAcadUtilities::checkPlotFileExtension", [&] {
        if (plotFilename.empty())
            throw CEXInvalidPlotFilename(plotFilename, kModuleDescription, kFile, "CAcadUtilities::checkPlotFileExtension");
        const std::string extension = plotExtension(plotTypeID);
        const std::size_t dot = plotFilename.rfind('.');
        if (dot == std::string::npos) {
            plotFilename += extension;
        } else if (plotFilename.size() < extension.size() ||
                   plotFilename.compare(plotFilename.size() - extension.size(), extension.size(), extension) != 0) {
            plotFilename = plotFilename.substr(0, dot) + extension;
        }
    });
}

std::string CAcadUtilities::plotMediaName(int plotMediaSizeID) {
    return korvaWrap(kFile, "CAcadUtilities::plotMediaName", [&] {
        const bool known = plotMediaSizeID >= 0 && plotMediaSizeID < static_cast<int>(kMediaNames.size());
        return std::string(kMediaNames[known ? static_cast<std::size_t>(plotMediaSizeID) : 0]);
    });
}

int CAcadUtilities::plotDeviceFromDatabase(int code) { return code >= 1 && code <= 3 ? code : 0; }
int CAcadUtilities::plotDeviceToDatabase(int code) { return code >= 1 && code <= 3 ? code : 0; }
int CAcadUtilities::plotAreaFromDatabase(int code) { return code >= 1 && code <= 5 ? code : 0; }
int CAcadUtilities::plotAreaToDatabase(int code) { return code >= 1 && code <= 5 ? code : 0; }

// The host's scale type 19 (added after the database's codes were fixed) is never produced.
int CAcadUtilities::plotScaleFromDatabase(int code) {
    if (code >= 1 && code <= 18) return code;
    if (code >= 19 && code <= 33) return code + 1;
    return 0;
}

int CAcadUtilities::plotScaleToDatabase(int code) {
    if (code >= 1 && code <= 18) return code;
    if (code >= 20 && code <= 34) return code - 1;
    return 0;
}

int CAcadUtilities::plotMediaSizeFromDatabase(int code) { return code >= 1 && code <= 88 ? code : 0; }
int CAcadUtilities::plotMediaSizeToDatabase(int code) { return code >= 1 && code <= 88 ? code : 0; }
