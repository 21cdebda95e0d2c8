// Seeds for the LAS harness: LAS files and text curve tables from the test builders
// (line ends, a missing last line feed, tabs, a Ctrl-Z, wrapped lines, an up log, one
// data line, names alike in four characters, NaN values, a LAS 3.0 file of two logs); the
// public LAS files are read where they are (fuzz.sh hands their folder over).
#include "support/LasBuilder.h"
#include "support/QtxBuilder.h"
#include "support/TempDir.h"

#include <filesystem>
#include <string>

namespace {

void Write(const std::string& path, const std::string& text)
{
    WriteBytes(path, std::vector<uint8_t>(text.begin(), text.end()));
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) return 1;
    const std::string dir = argv[1];
    LasShape s;
    Write(dir + "/plain.las", LasText(s));
    s.lineEnd = "\r\n";
    s.finalLineEnd = false;
    s.depths = {1001.5, 1001, 1000.5};
    Write(dir + "/crlf_up.las", LasText(s));
    s = {};
    s.delimiter = "TAB";
    s.separator = "\t";
    s.tail = "\x1A";
    Write(dir + "/tabs.las", LasText(s));
    s = {};
    s.wrap = "YES";
    s.curves = {"GR"};
    Write(dir + "/wrapped.las", LasText(s));
    s = {};
    s.depths = {1000.0};
    s.curves = {"NPHI_SAN", "NPHI_LIM", "NPHI_DOL", "DT"};
    Write(dir + "/one_line.las", LasText(s));
    s = {};
    s.tail = "1002.0000  nan  NaN  -999.25\n";
    s.depths = {1000.0, 1000.5, 1001.0, 1001.5};
    Write(dir + "/nan.las", LasText(s));
    Write(dir + "/two_logs.las", "~Version\n VERS. 3.0 :\n~Well\n STRT.FT 1000.0 :\n NULL. NaN :\n"
                                 "~Log_Definition[1]\n DEPT.FT :\n GR  .GAPI :\n~Log_Definition[2]\n DEPT.FT :\n"
                                 " DT  .US/FT :\n~Core\n CPOR.PU :\n~Log_Data[2] | Log_Definition[2]\n1000.0 70.0\n"
                                 "1000.5 nan\n~Log_Data[1] | Log_Definition[1]\n1000.0 1.0\n");
    TxtShape t;
    Write(dir + "/table.txt", TxtText(t));
    t.lineEnd = "\n";
    t.names = {"DTCO ft", "TTR3", "FREQ", "SEMB", "SDXX", "GDXX"};
    Write(dir + "/table_lf.txt", TxtText(t));
    return 0;
}
