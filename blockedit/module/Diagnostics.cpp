#include "module/Diagnostics.h"

#include <filesystem>
#include <pugixml.hpp>

#include "core/EXKinds.h"
#include "core/EXUnhandled.h"
#include "core/FileUtilities.h"
#include "core/ModuleInfo.h"
#include "core/Utilities.h"
#include "engine/api/Editor.h"
#include "host/AcadUtilities.h"
#include "logging/XMLUtilities.h"
#include "module/CommandFrame.h"
#include "module/Preferences.h"

using cad::acutPrintf;

namespace {

// The command layer's source file, which the file-name test prints and the test errors name.
constexpr char kCommandLayerFile[] = "blockEdit.cpp";

// Throws a test error and catches it again.
void errorTest(const char* title, const char* procSig) {
    acutPrintf("%s\n", title);
    try {
        throw CEXUnhandled("test error", kModuleDescription, kCommandLayerFile, procSig, 0);
    } catch (CEXKorva& handled) {
        acutPrintf("the error has been handled - %s\n", handled.getDescription());
        handled.deleteChain();
        acutPrintf("korva error handled successfully\n");
    } catch (...) {
        acutPrintf("korva error handling failed\n");
    }
    acutPrintf("error handling test completed\n");
}

}  // namespace

void diagnosticAll() {
    diagnosticBasic();
    diagnosticErrorsA();
    diagnosticErrorsB();
    diagnosticErrorsC();
    diagnosticErrorsD();
    diagnosticUserInput();
    diagnosticXML();
}

void diagnosticBasic() {
    acutPrintf("basic test - output to commandline\n");
    acutPrintf("basic test successful\n");
    acutPrintf("basic test completed\n");
}

void diagnosticDialog() {
    CCommandFrame("diagnosticDialog").run([] {
        acutPrintf("dialog test - opens browse for file dialog\n");
        CFileUtilities::browseForFile("All Files (*.*)|*.*");
        acutPrintf("dialog test completed\n");
    });
}

void diagnosticErrorsA() {
    CCommandFrame("diagnosticErrorsA").run([] { errorTest("Error Test A - throws test error", "diagnosticErrorsA"); });
}

void diagnosticErrorsB() {
    CCommandFrame("diagnosticErrorsB").run([] { errorTest("Error Test B - throws test error", "diagnosticErrorsB"); });
}

void diagnosticErrorsC() {
    CCommandFrame("diagnosticErrorsC").run([name = __func__] {
        acutPrintf("Error Test C - retrieve function name\n");
        acutPrintf("function %s\n", name);
    });
}

void diagnosticErrorsD() {
    CCommandFrame("diagnosticErrorsD").run([] {
        acutPrintf("Error Test C - retrieve file name\n");
        acutPrintf("file %s\n", kCommandLayerFile);
    });
}

void diagnosticUserInput() {
    CCommandFrame("diagnosticUserInput").run([] {
        acutPrintf("user input test - tests boolean, double, integer, string input\n");
        bool flag = true;
        CAcadUtilities::getBoolean("testing boolean input. Type 0 or 1 and then enter", true, flag);
        // The platform's printf shows a flag with %b as its binary digit.
        acutPrintf("boolean user input test successful - %b\n", flag ? 1 : 0);
        double decimal = 0.0;
        CAcadUtilities::getDouble("testing decimal input. Type a decimal number and then enter", 1.001, 3, decimal);
        acutPrintf("decimal user input test successful - %s\n", CUtilities::DoubleToCString(decimal, 3));
        int integer = 0;
        CAcadUtilities::getInteger("testing integer input. Type an integer(whole) number and then enter", 27, integer);
        acutPrintf("integer user input test successful - %i\n", integer);
        std::string text;
        CAcadUtilities::getString("testing text input. Type some text and then enter", "diagnosis", text);
        acutPrintf("text user input test successful - %s\n", text);
        acutPrintf("user input test finished\n");
    });
}

std::string defaultDiagnosticXMLPath() {
    std::string folder = CPreferences::getTemporaryFolder();
    if (folder.empty()) folder = std::filesystem::temp_directory_path().string() + "/";
    return folder + "korvaDiagnosis.xml";
}

void diagnosticXML() {
    CCommandFrame("diagnosticXML").run([] {
        acutPrintf("xml test - outputs xml file to specified location\n");
        std::string path;
        CAcadUtilities::getString("please enter output file path", defaultDiagnosticXMLPath(), path);
        if (CFileUtilities::fileExists(path)) CFileUtilities::deleteFile(path);

        CXMLUtilities xml;
        try {
            xml.createXMLDoc(path, "", "root", "");
        } catch (CEXKorva&) {
            // The XML layer cannot say more than that it failed; the path is what the user can fix.
            throw CEXCustom("Unable to write XML file - " + path, kModuleDescription, kCommandLayerFile,
                            "diagnosticXML");
        }
        pugi::xml_document document;
        if (!CXMLUtilities::loadDocument(document, path))
            throw CEXInvalidXMLFile(path, kModuleDescription, kCommandLayerFile, "diagnosticXML");
        pugi::xml_node root = document.select_node("/*").node();
        if (!root) throw CEXInvalidXMLFile(path, kModuleDescription, kCommandLayerFile, "diagnosticXML");
        CXMLUtilities::appendChild(root, xml.createNode("name", "value", ""));
        if (!CXMLUtilities::saveDocument(document, path))
            throw CEXCustom("Unable to write XML file - " + path, kModuleDescription, kCommandLayerFile,
                            "diagnosticXML");
        acutPrintf("xml test completed successfully\n");
    });
}
