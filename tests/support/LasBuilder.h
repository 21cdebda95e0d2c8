// Builders of the tool box's text inputs for tests and fuzz seeds: LAS files and text
// curve tables, as the bytes a file would hold. Values are exact in single precision
// and in four decimals, so that a reader that misplaces one shows it.
#pragma once

#include <string>
#include <vector>

// Value of curve `curve` (from 0, after the depth) on data line `line` (from 0).
double LasValue(int line, int curve);

struct LasShape {
    std::string firstLine = "~VERSION INFORMATION";
    std::string version = "2.0"; // VERS; "" leaves the line out
    std::string wrap = "NO";     // WRAP; "" leaves the line out
    std::string delimiter;       // DLM; "" leaves the line out
    std::string unit = "M";      // of STRT, STOP, STEP and DEPT
    std::vector<std::string> curves = {"DT", "RHOB", "GR"}; // after DEPT
    std::string curveUnit;        // of every curve after DEPT; "" none
    std::vector<double> depths = {1000.0, 1000.5, 1001.0, 1001.5};
    std::string separator = "  "; // between the fields of a data line
    std::string lineEnd = "\n";
    bool finalLineEnd = true;     // the last data line ends in lineEnd
    std::string tail;             // bytes after the last data line
    bool parameterSection = true; // a ~P section between ~C and ~A
};

// The whole file: ~V, ~W, ~C, ~P and ~A sections; data lines "%.4f" per field.
std::string LasText(const LasShape& shape);

struct TxtShape {
    std::vector<std::string> comments = {"* curve table", "* of two curves"};
    std::vector<std::string> names = {"DTCO", "TTR1"};
    std::vector<double> depths = {1000.0, 1000.5, 1001.0};
    std::string lineEnd = "\r\n";
};

// Comment lines, a line of no meaning, the column count, the names, then data lines of
// ten-character columns ("%10.4f").
std::string TxtText(const TxtShape& shape);
