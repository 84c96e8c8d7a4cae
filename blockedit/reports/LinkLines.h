#pragma once
#include <cstddef>
#include <memory>
#include <pugixml.hpp>
#include <string>
#include <vector>

#include "reports/LinkLine.h"

class CAcadDrawing;
class CAcadDrawingState;
class CStoredProcedure;
class CXMLUtilities;

// The link lines of a report, in order. Owns them.
class CLinkLines {
public:
    CLinkLines() = default;
    virtual ~CLinkLines() = default;
    CLinkLines(const CLinkLines&) = delete;
    CLinkLines& operator=(const CLinkLines&) = delete;

    void add(std::unique_ptr<CLinkLine> linkLine) { items_.push_back(std::move(linkLine)); }
    std::size_t getCount() const { return items_.size(); }
    // std::invalid_argument outside the collection.
    CLinkLine& getAt(std::size_t index) const;
    void deleteObjects() { items_.clear(); }

    // Draws every link line in order; `state` is the report's working layer state.
    void applyToDrawing(CAcadDrawing& drawing, CAcadDrawingState& state) const;

    // One link line per row of "__gr_getReportLinkLines"; a null column leaves its field empty.
    void getGraphicReportLinkLines(CStoredProcedure& procedure, int graphicReportID, int timeout);

    // <linkLines> with one <linkLine> per line; reading appends one line per <linkLine>.
    pugi::xml_node serialize(CXMLUtilities& factory, const std::string& namespaceURI) const;
    void deSerialize(const pugi::xml_node& node);

private:
    std::vector<std::unique_ptr<CLinkLine>> items_;
};
