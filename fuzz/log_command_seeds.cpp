// Seeds for the command-file harness: files from the test builder, with and without
// shading records, and an empty list.
#include "support/LogCommandBuilder.h"
#include "support/QtxBuilder.h"

#include <string>

int main(int argc, char** argv)
{
    if (argc < 2) return 1;
    const std::string dir = argv[1];
    WriteBytes(dir + "/empty.cmd", CommandFileBytes({}, {}));
    WriteBytes(dir + "/two.cmd", CommandFileBytes({}, {WaveformItemFields(), CurveItemFields()}));
    WriteBytes(dir + "/older.cmd", CommandFileBytes({}, {CurveItemFields()}, false));
    return 0;
}
