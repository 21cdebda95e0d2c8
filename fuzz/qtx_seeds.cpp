// Seeds for the QTX harness: well-formed data sets from the test builder.
#include "support/QtxBuilder.h"

#include <string>

int main(int argc, char** argv)
{
    if (argc < 2) return 1;
    const std::string dir = argv[1];
    WriteQtx(dir + "/time.qtx", {{"WVF1", 1, 1, 8, 64}}, 3);
    WriteQtx(dir + "/two_axis.qtx", {{"SMCO", 100, 5, 1, 16, 1, 10.0f, 8, 2, 5.0f}}, 2);
    WriteQtx(dir + "/up.qtx", {{"DTCO", 158, 1, 1, 1}}, 4, 1000.0, -0.5, DefaultSample, 1);
    return 0;
}
