#include "module/Diagnostics.h"

#include <filesystem>
#include <pugixml.hpp>

#include "core/EXKinds.h"
#include "core/EXUnhandled.h"
#include "core/FileUtilities.h"
#include "core/KorvaWrap.h"
#include "core/ModuleInfo.h"
#include "core/Utilities.h"
#include "engine/editor/EditorApi.h"
#include "engine/editor/HostApplication.h"
#include "engine/editor/LineInput.h"
#include "logging/XMLUtilities.h"
#include "module/Preferences.h"

using cad::acutPrintf;

namespace {

// The command layer's source file: errors of the commands are reported under its name.
constexpr char kCommandLayerFile[] = "blockEdit.cpp";

// The typed prompts of the host interaction utilities: each shows its default, settles on the
// typed value or the default, and echoes what it settled on.

bool inputHasEnded() {
    cad::HostApplication* host = cad::HostApplication::current();
    return host == nullptr || host->editor().input().atEnd();
}

void getBoolean(const std::string& prompt, bool byDefault, bool& value) {
    value = byDefault;
    std::string answer;
    const std::string text = "\n" + prompt + " <" + CUtilities::BoolToCString(byDefault) + ">:";
    if (cad::acedGetString(1, text, answer) == cad::RTNORM && !answer.empty())
        value = CUtilities::CStringToBOOL(answer);
    acutPrintf(" %s\n", CUtilities::BoolToCString(value));
}

void getDouble(const std::string& prompt, double byDefault, int decimals, double& value) {
    value = byDefault;
    double answer = 0.0;
    const std::string text = "\n" + prompt + " <" + CUtilities::DoubleToCString(byDefault, decimals) + ">:";
    if (cad::acedGetReal(text, answer) == cad::RTNORM) value = answer;
    acutPrintf(" %s\n", CUtilities::DoubleToCString(value, decimals));
}

void getInteger(const std::string& prompt, int byDefault, int& value) {
    value = byDefault;
    int answer = 0;
    const std::string text = "\n" + prompt + " <" + CUtilities::IntToCString(byDefault) + ">:";
    if (cad::acedGetInt(text, answer) == cad::RTNORM) value = answer;
    acutPrintf(" %i\n", value);
}

// Asks again after a cancel, except when no answer can come any more (an exhausted script),
// where the default is taken instead of asking for ever.
void getString(const std::string& prompt, const std::string& byDefault, std::string& value) {
    const std::string question = prompt + " <" + byDefault + ">:";
    std::string answer;
    int status = cad::acedGetString(1, "\n" + question, answer);
    while (status != cad::RTNORM && !inputHasEnded()) {
        answer.clear();
        status = cad::acedGetString(1, "\nInvalid input! - " + question, answer);
    }
    value = status == cad::RTNORM && !answer.empty() ? answer : byDefault;
    acutPrintf(" %s\n", value);
}

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
    korvaTopLevel(kCommandLayerFile, "diagnosticDialog", [] {
        acutPrintf("dialog test - opens browse for file dialog\n");
        CFileUtilities::browseForFile("All Files (*.*)|*.*");
        acutPrintf("dialog test completed\n");
    });
}

void diagnosticErrorsA() {
    korvaTopLevel(kCommandLayerFile, "diagnosticErrorsA",
                  [] { errorTest("Error Test A - throws test error", "diagnosticErrorsA"); });
}

void diagnosticErrorsB() {
    korvaTopLevel(kCommandLayerFile, "diagnosticErrorsB",
                  [] { errorTest("Error Test B - throws test error", "diagnosticErrorsB"); });
}

void diagnosticErrorsC() {
    korvaTopLevel(kCommandLayerFile, "diagnosticErrorsC", [name = __func__] {
        acutPrintf("Error Test C - retrieve function name\n");
        acutPrintf("function %s\n", name);
    });
}

void diagnosticErrorsD() {
    korvaTopLevel(kCommandLayerFile, "diagnosticErrorsD", [] {
        acutPrintf("Error Test C - retrieve file name\n");
        acutPrintf("file %s\n", kCommandLayerFile);
    });
}

void diagnosticUserInput() {
    korvaTopLevel(kCommandLayerFile, "diagnosticUserInput", [] {
        acutPrintf("user input test - tests boolean, double, integer, string input\n");
        bool flag = true;
        getBoolean("testing boolean input. Type 0 or 1 and then enter", true, flag);
        // The platform's printf shows a flag with %b as its binary digit.
        acutPrintf("boolean user input test successful - %b\n", flag ? 1 : 0);
        double decimal = 0.0;
        getDouble("testing decimal input. Type a decimal number and then enter", 1.001, 3, decimal);
        acutPrintf("decimal user input test successful - %s\n", CUtilities::DoubleToCString(decimal, 3));
        int integer = 0;
        getInteger("testing integer input. Type an integer(whole) number and then enter", 27, integer);
        acutPrintf("integer user input test successful - %i\n", integer);
        std::string text;
        getString("testing text input. Type some text and then enter", "diagnosis", text);
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
    korvaTopLevel(kCommandLayerFile, "diagnosticXML", [] {
        acutPrintf("xml test - outputs xml file to specified location\n");
        std::string path;
        getString("please enter output file path", defaultDiagnosticXMLPath(), path);
        if (CFileUtilities::fileExists(path)) CFileUtilities::deleteFile(path);

        CXMLUtilities xml;
        try {
            xml.createXMLDoc(path, "", "root", "");
        } catch (CEXKorva& failure) {
            throw CEXCustom("Unable to write XML file - " + path, kModuleDescription, kCommandLayerFile,
                            "diagnosticXML", 0, std::move(failure).moveToHeap());
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
