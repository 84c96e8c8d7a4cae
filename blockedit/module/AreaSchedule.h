#pragma once
#include <string>
#include <vector>

// The area schedule that mcsv writes: a header, one row per space, a total line, two empty lines
// and the gross-area rows. Fields are written as they stand: nothing is quoted or escaped, so a
// comma inside a name gives its row one more field.
class CAreaSchedule {
public:
    static constexpr const char* kHeader = "Code,Area,Units,Perimeter,Units";

    explicit CAreaSchedule(int precision) : precision_(precision) {}

    // Unit texts by a block's units: square metres and metres for 0, square feet and feet else.
    static std::string areaUnit(int units);
    static std::string lengthUnit(int units);

    // A space: its row, and its area and perimeter added to the totals.
    void addSpace(const std::string& name, double area, double perimeter, int units);
    // A gross-area block: its row in the section after the totals.
    void addGrossArea(const std::string& name, double area, double perimeter, int units);

    // The file's whole text, each line ending in "\n". The total line takes the units of the last
    // space row (none when there is no space).
    std::string text() const;

private:
    std::string row(const std::string& name, double area, double perimeter, int units) const;

    int precision_;
    std::vector<std::string> spaceRows_;
    std::vector<std::string> grossAreaRows_;
    double totalArea_ = 0.0;
    double totalPerimeter_ = 0.0;
    std::string totalAreaUnit_;
    std::string totalLengthUnit_;
};
