// Seeds for the CNV harness: well-formed files from the test builder, and the shapes
// the reader treats specially (one frame, trailing bytes, CLSS, an up log), and sampling
// periods of 0 and below.
#include "support/CnvBuilder.h"
#include "support/QtxBuilder.h"

#include <string>

int main(int argc, char** argv)
{
    if (argc < 2) return 1;
    const std::string dir = argv[1];
    WriteCnv(dir + "/two_channels.cnv", Shape(2, 8, 4));
    WriteCnv(dir + "/one_frame.cnv", Shape(1, 16, 1));
    CnvShape clss = Shape(4, 32, 3);
    clss.spare = 134; // origin 134 % 46 = 42, CLSS Lower; receiver 134 >> 6 = 2, #3
    WriteCnv(dir + "/clss.cnv", clss);
    CnvShape up = Shape(8, 64, 5);
    up.step = -0.5;
    up.depthUnits = 0;
    up.spare = 31; // a semblance origin
    WriteCnv(dir + "/up.cnv", up);
    std::vector<uint8_t> trailing = CnvBytes(Shape(3, 4, 3));
    trailing.resize(trailing.size() + 7, 0);
    WriteBytes(dir + "/trailing.cnv", trailing);
    for (const int16_t period : {int16_t(0), int16_t(-10)}) {
        CnvShape flat = Shape(2, 8, 3);
        flat.samplingPeriod = period;
        WriteCnv(dir + "/period_" + std::to_string(period) + ".cnv", flat);
    }
    return 0;
}
