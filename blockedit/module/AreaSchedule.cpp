#include "module/AreaSchedule.h"

#include "core/KorvaWrap.h"
#include "core/Utilities.h"

namespace {

constexpr const char* kFile = __FILE__;

}  // namespace

// The platform's text files are UTF-8: the square sign is U+00B2 written in two bytes.
std::string CAreaSchedule::areaUnit(int units) { return units == 0 ? "m\u00B2" : "ft\u00B2"; }

std::string CAreaSchedule::lengthUnit(int units) { return units == 0 ? "m" : "ft"; }

std::string CAreaSchedule::row(const std::string& name, double area, double perimeter, int units) const {
    return name + "," + CUtilities::DoubleToCString(area, precision_) + "," + areaUnit(units) + "," +
           CUtilities::DoubleToCString(perimeter, precision_) + "," + lengthUnit(units);
}

void CAreaSchedule::addSpace(const std::string& name, double area, double perimeter, int units) {
    korvaWrap(kFile, "CAreaSchedule::addSpace", [&] {
        spaceRows_.push_back(row(name, area, perimeter, units));
        totalArea_ += area;
        totalPerimeter_ += perimeter;
        totalAreaUnit_ = areaUnit(units);
        totalLengthUnit_ = lengthUnit(units);
    });
}

void CAreaSchedule::addGrossArea(const std::string& name, double area, double perimeter, int units) {
    korvaWrap(kFile, "CAreaSchedule::addGrossArea",
              [&] { grossAreaRows_.push_back(row(name, area, perimeter, units)); });
}

std::string CAreaSchedule::text() const {
    return korvaWrap(kFile, "CAreaSchedule::text", [&] {
        std::string text = std::string(kHeader) + "\n";
        for (const std::string& line : spaceRows_) text += line + "\n";
        text += "Total," + CUtilities::DoubleToCString(totalArea_, precision_) + "," + totalAreaUnit_ + "," +
                CUtilities::DoubleToCString(totalPerimeter_, precision_) + "," + totalLengthUnit_ + "\n";
        text += "\n\n";
        for (const std::string& line : grossAreaRows_) text += line + "\n";
        return text;
    });
}
