#include "support/LogCommandBuilder.h"

#include "platform/Endian.h"

namespace {

struct Bytes {
    std::vector<uint8_t> b;
    void U8(uint8_t v) { b.push_back(v); }
    void U16(uint16_t v)
    {
        b.resize(b.size() + 2);
        endian::PutLE16(&b[b.size() - 2], v);
    }
    void U32(uint32_t v)
    {
        b.resize(b.size() + 4);
        endian::PutLE32(&b[b.size() - 4], v);
    }
    void F32(float v)
    {
        b.resize(b.size() + 4);
        endian::PutLEFloat(&b[b.size() - 4], v);
    }
    void F64(double v)
    {
        b.resize(b.size() + 8);
        endian::PutLEDouble(&b[b.size() - 8], v);
    }
    void Str(const std::string& s)
    {
        U16(uint16_t(s.size())); // any length: hostile files claim more than 255
        b.insert(b.end(), s.begin(), s.end());
    }
};

} // namespace

CommandItemFields WaveformItemFields()
{
    CommandItemFields f;
    f.path = "/logs/well.qtx";
    f.title = "well";
    f.currentName = "WMNO";
    f.name = "WMNO";
    f.unitsName = "[uSec]";
    f.nameCount = 8;
    f.sampleCount = 512;
    f.names = {"R1", "R2", "R3", "R4", "R5", "R6", "R7", "R8"};
    f.itemTypes = std::vector<uint8_t>(8, 7);
    return f;
}

CommandItemFields CurveItemFields()
{
    CommandItemFields f;
    f.path = "/logs/curves.qtx";
    f.title = "curves";
    f.currentName = "DTSH";
    f.name = "DTSH";
    f.unitsName = "[uSec/ft]";
    f.domainCode = 6;
    f.domain = "";
    f.itemType = 33;
    f.currentIndex = 1;
    f.track = 3;
    f.nameCount = 3;
    f.sampleInterval = 1.0f;
    f.names = {"DTCO", "DTSH", "SPCO"};
    f.itemTypes = {31, 33, 37};
    f.lineStyle = "Dashed";
    f.colour = "Red";
    f.shadeOff = 0;
    f.shadeMaxLimit = 1;
    f.shadeMax = 180.0f;
    f.shadePattern = "Dotted";
    return f;
}

std::vector<uint8_t> CommandFileBytes(const CommandPageFields& page, const std::vector<CommandItemFields>& items,
                                      bool shading)
{
    Bytes o;
    o.U16(page.itemCount == 0xFFFF ? uint16_t(items.size()) : page.itemCount);
    o.F32(page.depthScale);
    for (float w : page.trackWidth) o.F32(w);
    o.U16(uint16_t(page.depthTrackOn));
    o.U16(uint16_t(page.depthTrackOff));
    o.U16(uint16_t(page.english));
    o.U16(uint16_t(page.metric));
    for (const CommandItemFields& f : items) {
        for (const std::string* s : {&f.path, &f.title, &f.ext, &f.currentName, &f.name, &f.unitsName, &f.reserved})
            o.Str(*s);
        o.U8(f.logDirection);
        o.U8(f.itemType);
        for (const std::string* s : {&f.waveStyle, &f.domain, &f.palette, &f.lineStyle, &f.lineWidth, &f.colour})
            o.Str(*s);
        o.U16(f.domainCode);
        for (int16_t v : {f.currentIndex, f.track, f.nameCount, f.sampleCount}) o.U16(uint16_t(v));
        o.U16(f.normalize);
        for (float v : {f.sampleInterval, f.leftLimit, f.rightLimit, f.freqMin, f.freqMax}) o.F32(v);
        o.U8(f.frequencyImage);
        o.F32(f.slowMin);
        o.F32(f.slowMax);
        o.U8(f.slownessImage);
        o.U8(f.slownessUnit);
        for (double v : {f.startDepth, f.stopDepth, f.shift, f.dataTop, f.dataBottom, f.depthStep}) o.F64(v);
        o.U32(f.frameCount);
        for (size_t i = 0; i < 256; ++i) o.Str(i < f.names.size() ? f.names[i] : std::string());
        for (size_t i = 0; i < 256; ++i) o.U8(i < f.itemTypes.size() ? f.itemTypes[i] : 0);
    }
    if (shading)
        for (const CommandItemFields& f : items) {
            o.Str(f.shadeColor);
            o.Str(f.shadePattern);
            for (int16_t v : {f.shadeOff, f.shadeMinLimit, f.shadeMaxLimit, f.shadeCurveLimit, f.shadeCurve})
                o.U16(uint16_t(v));
            o.F32(f.shadeMin);
            o.F32(f.shadeMax);
        }
    return o.b;
}
