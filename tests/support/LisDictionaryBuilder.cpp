#include "support/LisDictionaryBuilder.h"

#include <fstream>

LisDictionaryBuilder::LisDictionaryBuilder(std::string title, std::string lineEnd) : m_lineEnd(std::move(lineEnd))
{
    Line(title);
}

LisDictionaryBuilder& LisDictionaryBuilder::Line(const std::string& text)
{
    m_text += text + m_lineEnd;
    return *this;
}

LisDictionaryBuilder& LisDictionaryBuilder::Depth(const std::vector<std::string>& mnemonics)
{
    Line("~DEPTH");
    for (const auto& m : mnemonics) Line(m);
    return Line("END::");
}

LisDictionaryBuilder& LisDictionaryBuilder::Section(const std::string& name,
                                                    const std::vector<std::vector<std::string>>& records)
{
    Line(name);
    for (const auto& r : records) Line(Join(r));
    return Line("END::");
}

std::string LisDictionaryBuilder::Join(const std::vector<std::string>& fields)
{
    std::string out;
    for (size_t i = 0; i < fields.size(); ++i) out += (i ? ":" : "") + fields[i];
    return out;
}

std::vector<uint8_t> LisDictionaryBuilder::Scramble(const std::string& text)
{
    std::vector<uint8_t> out(text.begin(), text.end());
    int lineEnds = 0;
    for (uint8_t& b : out) {
        if (lineEnds >= 2)
            b ^= 0x6D;
        else if (b == '\r' || b == '\n')
            ++lineEnds;
    }
    return out;
}

static bool Write(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), std::streamsize(bytes.size()));
    return bool(out);
}

bool LisDictionaryBuilder::WriteText(const std::string& path) const { return Write(path, m_text); }

bool LisDictionaryBuilder::WriteDit(const std::string& directory) const
{
    const std::vector<uint8_t> dit = Dit();
    return Write(directory + "/LisDic.dit", std::string(dit.begin(), dit.end()));
}

bool LisDictionaryBuilder::WriteTruthDit(const std::string& directory)
{
    return LisDictionaryBuilder()
        .Depth({"DEPT"})
        .Section("~DSI", {{"DX", "GN", "NRM", "NS", "PER", "NR", "DIP", "DSIMONO"}})
        .Section("~QTX", {{"WMNO", "MNS", "MSP", "", "MNR", "WMNO"}})
        .WriteDit(directory);
}
