#include "ui/PresAbout.h"

#include "core/ModuleInfo.h"

using cad::ControlKind;

namespace {

// The release these texts describe; the build date of that release, not of this build.
constexpr char kCadVersion[] = "AutoCAD 18 64bit";
constexpr char kCompileDate[] = "Jun 15 2017";

}  // namespace

CPresAbout::CPresAbout(cad::Dialog*) : cad::Dialog(IDD, "About - Brinmo") {
    addControl(IDC_TITLE, ControlKind::Static, "Brinmo space planning module");
    addControl(IDC_CAD_LABEL, ControlKind::Static, "CAD Version");
    addControl(IDC_CAD_VERSION, ControlKind::Static, kCadVersion);
    addControl(IDC_ZDK_LABEL, ControlKind::Static, "ZDK Version");
    addControl(IDC_ZDK_VERSION, ControlKind::Static, kModuleVersion);
    addControl(IDC_DATE_LABEL, ControlKind::Static, "Compile Date");
    addControl(IDC_COMPILE_DATE, ControlKind::Static, kCompileDate);
    addControl(cad::IDOK, ControlKind::Button, "OK");
}
