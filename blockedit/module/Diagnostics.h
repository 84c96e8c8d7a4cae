#pragma once
#include <string>

// The diagnostic commands: a support person runs them on a user's machine to see that
// command-line output, dialogs, the exception machinery, user input and XML output work.
// Each reports its own failures; none lets an exception through.

// mda: md1, md4, md5, md6, md7, md8 and md9 in turn (not the file dialog of md3).
void diagnosticAll();
// md1
void diagnosticBasic();
// md3
void diagnosticDialog();
// md4, md5
void diagnosticErrorsA();
void diagnosticErrorsB();
// md6, md7
void diagnosticErrorsC();
void diagnosticErrorsD();
// md8
void diagnosticUserInput();
// md9
void diagnosticXML();

// The path md9 proposes: the module's temporary folder (or the system's while the module has
// none) holding korvaDiagnosis.xml.
std::string defaultDiagnosticXMLPath();
