#include "support/LasBuilder.h"

#include <cstdio>

namespace {

std::string Fixed(const char* format, double v)
{
    char text[64];
    std::snprintf(text, sizeof text, format, v);
    return text;
}

} // namespace

double LasValue(int line, int curve) { return 10.0 * (curve + 1) + 0.25 * line; }

std::string LasText(const LasShape& s)
{
    std::string t;
    auto add = [&](const std::string& line) { t += line + s.lineEnd; };
    add(s.firstLine);
    if (!s.version.empty()) add(" VERS.          " + s.version + " :   CWLS LOG ASCII STANDARD");
    if (!s.wrap.empty()) add(" WRAP.          " + s.wrap + " :   ONE LINE PER DEPTH STEP");
    if (!s.delimiter.empty()) add(" DLM .          " + s.delimiter + " :   DELIMITER");
    add("~WELL INFORMATION");
    add("#MNEM.UNIT      DATA          DESCRIPTION");
    const double first = s.depths.empty() ? 0.0 : s.depths.front();
    const double last = s.depths.empty() ? 0.0 : s.depths.back();
    add(" STRT." + s.unit + Fixed("  %14.4f :  START DEPTH", first));
    add(" STOP." + s.unit + Fixed("  %14.4f :  STOP DEPTH", last));
    add(" STEP." + s.unit + "          0.5000 :  STEP");
    add(" NULL.         -999.2500 :  NULL VALUE");
    add(" WELL.          TEST WELL :  WELL");
    add("~CURVE INFORMATION");
    add("#MNEM.UNIT      API CODE      DESCRIPTION");
    add(" DEPT." + s.unit + "                 :  DEPTH");
    for (const std::string& c : s.curves) add(" " + c + " ." + s.curveUnit + "              :  CURVE " + c);
    if (s.parameterSection) {
        add("~PARAMETER INFORMATION");
        add(" BHT .DEGC       35.5000 :  BOTTOM HOLE TEMPERATURE");
    }
    add("~A  DEPTH");
    for (size_t k = 0; k < s.depths.size(); ++k) {
        std::string line = Fixed("%.4f", s.depths[k]);
        for (size_t c = 0; c < s.curves.size(); ++c) line += s.separator + Fixed("%.4f", LasValue(int(k), int(c)));
        t += line;
        if (k + 1 < s.depths.size() || s.finalLineEnd) t += s.lineEnd;
    }
    return t + s.tail;
}

std::string TxtText(const TxtShape& s)
{
    std::string t;
    auto add = [&](const std::string& line) { t += line + s.lineEnd; };
    for (const std::string& c : s.comments) add(c);
    add("DEPTH AND CURVES");
    add(std::to_string(s.names.size() + 1) + "  columns");
    for (const std::string& n : s.names) add(n);
    for (size_t k = 0; k < s.depths.size(); ++k) {
        std::string line = Fixed("%10.4f", s.depths[k]);
        for (size_t c = 0; c < s.names.size(); ++c) line += Fixed("%10.4f", LasValue(int(k), int(c)));
        add(line);
    }
    return t;
}
