#pragma once

// Thrown where the XML layer has no object to work on: a document without a root element, a node
// that could not be made, a file that could not be written. It is deliberately no kind of the
// exception family nor a standard exception, so the wrapping rule reports it as an "unhandled
// error" of the method it escapes.
struct CXMLComponentFailure {};
