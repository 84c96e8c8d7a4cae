// Lays out generated tags. Invariant: a real is written with the shortest text that reads back to
// the same double, so generating from read values never drifts; copied text does not pass here.
#include "engine/dxf/tags/DxfTagWriter.h"

#include <charconv>
#include <cmath>
#include <stdexcept>

#include "engine/dxf/tags/DxfGroupCode.h"
#include "engine/dxf/tags/DxfTokenizer.h"

namespace cad {

std::string formatDxfReal(double value) {
    if (!std::isfinite(value)) throw std::domain_error("a DXF real must be finite");
    char buf[64];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value);
    std::string_view text(buf, static_cast<std::size_t>(end - buf));
    const std::size_t e = text.find('e');
    std::string mantissa(text.substr(0, e));
    if (mantissa.find('.') == std::string::npos) mantissa += ".0";
    if (e == std::string_view::npos) return mantissa;
    std::string_view exp = text.substr(e + 1);
    char sign = '+';
    if (!exp.empty() && (exp.front() == '-' || exp.front() == '+')) {
        sign = exp.front();
        exp.remove_prefix(1);
    }
    std::string out = mantissa + "E" + sign;
    if (exp.size() < 2) out += '0';
    out.append(exp);
    return out;
}

void DxfTagWriter::code(int c) {
    char buf[16];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, c);
    const auto len = static_cast<std::size_t>(end - buf);
    if (len < 3) out_.append(3 - len, ' ');
    out_.append(buf, len);
    out_.append(eol_);
}

void DxfTagWriter::string(int c, std::string_view value) {
    code(c);
    out_.append(value);
    out_.append(eol_);
    written(c, value);
}

void DxfTagWriter::integer(int c, std::int64_t value) {
    code(c);
    char buf[32];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value);
    const auto len = static_cast<std::size_t>(end - buf);
    if (dxfValueType(c) == DxfValueType::Int16 && len < 6) out_.append(6 - len, ' ');
    out_.append(buf, len);
    out_.append(eol_);
    written(c, {});
}

void DxfTagWriter::real(int c, double value) {
    if (!std::isfinite(value))
        throw std::domain_error("group code " + std::to_string(c) + " holds " + (std::isnan(value) ? "NaN" : "an infinite value") +
                                ", which a DXF file cannot hold");
    code(c);
    out_.append(formatDxfReal(value));
    out_.append(eol_);
    written(c, {});
}

void DxfTagWriter::tag(int c, std::string_view value) {
    const DxfValueType type = dxfValueType(c);
    if (isDxfInteger(type)) {
        std::int64_t v = 0;
        if (parseDxfInt(value, v)) return integer(c, v);
    } else if (type == DxfValueType::Double) {
        // Keep the text read: reformatting would change bytes for no gain.
        double v = 0;
        if (parseDxfDouble(value, v)) return string(c, trimDxfBlanks(value));
    }
    string(c, value);
}

}  // namespace cad
