#pragma once
#include <pugixml.hpp>

class CEXKorva;
class CXMLUtilities;

// The "error" element of an exception chain, in the errors namespace: date (now), class, procSig,
// source, description, severity and, for a wrapper, innerException holding the inner exception's
// own "error" element, down the whole chain. The element is made by the factory; append it where needed.
pugi::xml_node serializeError(CXMLUtilities& factory, const CEXKorva& error);
