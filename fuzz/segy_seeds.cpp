// Seeds for the SEG-Y harness: files of the program's two layouts from the test builder
// (down, up, the largest shot, one shot, a torn shot, a sample interval of 0, the
// variant's axis bytes behind their tag, published depths under other scalars); the
// public standard files are read where they are (fuzz.sh hands their folder over).
#include "support/SegyBuilder.h"
#include "support/QtxBuilder.h"
#include "support/TempDir.h"

#include <filesystem>
#include <string>

int main(int argc, char** argv)
{
    if (argc < 2) return 1;
    const std::string dir = argv[1];
    SegyShape shape;
    WriteBytes(dir + "/down.segy", SegyBytes(shape));
    shape.logDirection = 1;
    shape.depthUnits = 0xFF;
    shape.depths = {12.5, 12.0, 11.5, 11.0};
    WriteBytes(dir + "/up.segy", SegyBytes(shape));
    std::vector<uint8_t> torn = SegyBytes(shape);
    torn.resize(torn.size() - 100);
    WriteBytes(dir + "/torn.segy", torn);
    shape.depths = {5.0};
    WriteBytes(dir + "/one.segy", SegyBytes(shape));
    SegyShape wide;
    wide.traces = 16;
    wide.samples = 40;
    wide.category = 3;
    wide.itemType = 31;
    WriteBytes(dir + "/wide.segy", SegyBytes(wide));
    wide.axisTag = true;
    wide.axisUnit = 3;
    wide.firstIndex = 40;
    WriteBytes(dir + "/axis.segy", SegyBytes(wide));
    SegyShape published;
    published.published = true;
    WriteBytes(dir + "/published.segy", SegyBytes(published));
    published.logDirection = 1;
    published.depths = {12.5, 12.0, 11.5, 11.0};
    torn = SegyBytes(published);
    WriteBytes(dir + "/published-up.segy", torn);
    torn.resize(torn.size() - 100);
    WriteBytes(dir + "/published-torn.segy", torn);
    published.rawDepths = {125, 120, 115, 110};
    published.scalars.assign(4, int16_t(-10));
    WriteBytes(dir + "/published-scalar.segy", SegyBytes(published));
    SegyShape flat;
    flat.interval = 0.0f;
    WriteBytes(dir + "/zero_interval.segy", SegyBytes(flat));
    return 0;
}
