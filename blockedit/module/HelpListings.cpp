#include "module/HelpListings.h"

#include "engine/api/Editor.h"

using cad::acutPrintf;

namespace {

void separator() { acutPrintf("-\n"); }

void heading(const char* text) { acutPrintf("%s\n", text); }

}  // namespace

void printHelpListing() {
    acutPrintf("  command   fullname                      Description\n\n");
    separator();
    heading("ZDK Suite Commands");
    acutPrintf("    mbe     korvaBlockEdit                Edit korva blocks.\n");
    acutPrintf("    mbh     korvaBlockHyperlink           Multiple hyperlink blocks.\n");
    acutPrintf("    mbc     korvaBlockCreate              Create a korva block.\n");
    acutPrintf("    mgabc   korvaGrossAreaBlockCreate     Create a korva gross area block.\n");
    acutPrintf("    mdb     korvaDeleteBlock              Delete korva block.\n");
    acutPrintf("    mcsv    korvaCommaSeperatedValues     Export drawing details to csv.\n");
    separator();
    separator();
    heading("Utilities");
    acutPrintf("    mus     korvaUpdateSpaces             Recalculate all areas and perimeters\n");
    acutPrintf("                                          in the drawing. Updates attributes if xdata\n");
    acutPrintf("                                          and attribute value are linked\n");
    acutPrintf("    msxta   korvaSyncXDataToAttributes\t  Copies xdata values to appropriate attributes.\n");
    acutPrintf("                                          Recalculates xdata if specified.\n");
    acutPrintf("    mbta     korvaBlankThirdAttribute     Set all third attribute (aux) values to \"\" i.e. blank\n");
    acutPrintf("    mut     korvaUpdateText               Resize all attribute text to\n");
    acutPrintf("                                          preferences default value.\n");
    acutPrintf("    maux    korvaAuxilarator              Add auxillary tags to korva blocks\n");
    acutPrintf("                                          which do not have an auxillary tag.\n");
    acutPrintf("    mlb     korvaListBlocks               List the block name and identifiers\n");
    acutPrintf("                                          in the drawing.\n");
    separator();
    separator();
    separator();
    heading("Administration");
    acutPrintf("    mprefs  korvaPreferences              Edit preferences.\n");
    separator();
    separator();
    separator();
    heading("Help");
    acutPrintf("    m?      mhelp                         Displays details of the korva.\n");
    acutPrintf("                                          commands avaialble in this version of\n");
    acutPrintf("                                          the Brinmo.\n");
    separator();
    separator();
}

void printDiagnosticsListing() {
    acutPrintf("  command      fullname                      Description\n\n");
    separator();
    heading("Korva Diagnostics");
    acutPrintf("    mda     korvaDiagnosticAll            Runs all diagnostic routines.\n");
    acutPrintf("    md1     korvaDiagnosticBasic          Tests output to commandline.\n");
    acutPrintf("    md3     korvaDiagnosticDialog         Test Dialogs.\n");
    acutPrintf("    md4     korvaDiagnosticErrorsA        Throws and handles test error.\n");
    acutPrintf("    md5     korvaDiagnosticErrorsB        Throws and handles test error.\n");
    acutPrintf("    md6     korvaDiagnosticErrorsC        Retrieves Function name.\n");
    acutPrintf("    md7     korvaDiagnosticErrorsD        Retrieves File name.\n");
    acutPrintf("    md8     korvaDiagnosticUserInput      Tests User Input.\n");
    acutPrintf("    md9     korvaDiagnosticXML            Test XML output.\n");
    separator();
    separator();
}
