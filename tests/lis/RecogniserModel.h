// What a recogniser works on, built in code: a logical file as the scan leaves it at a
// trailer, its channels and tables, and the tool dictionary loaded from text.
#pragma once

#include "LisHelpers.h"
#include "lis/LisDictionary.h"
#include "lis/LisRecognise.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

using Rows = std::vector<std::pair<std::string, std::string>>; // MNEM, VALU

class Model {
public:
    CLisDictionary dictionary;
    CLisScanState scan;
    CLisLogicalFile file;

    // Dictionary source lines (a first line is added); loaded as the scan loads the file.
    void Dictionary(const std::vector<std::string>& lines)
    {
        std::string text = "Tool dictionary\r\n";
        for (const auto& l : lines) text += l + "\r\n";
        auto bytes = std::make_shared<std::vector<uint8_t>>(text.begin(), text.end());
        lisdic::Scramble(*bytes);
        BinaryFile f;
        f.OpenMemory(bytes, false);
        ASSERT_EQ(dictionary.Load(f), 1);
        scan.m_dictionary = &dictionary;
    }
    // A DFSR channel behind the previous ones.
    CLisChannelItem* Channel(const std::string& name, uint16_t size, uint8_t code = 68, const std::string& units = "US")
    {
        auto c = std::make_unique<CLisChannelItem>();
        c->m_mnemonic = name;
        c->m_units = units;
        c->m_offset = m_nextOffset;
        c->m_size = size;
        c->m_reprCode = code;
        c->m_index = uint32_t(file.m_channels.size());
        m_nextOffset += size;
        scan.m_channelList.push_back(c.get());
        file.m_channels.push_back(std::move(c));
        return scan.m_channelList.back();
    }
    void Table(const std::string& name, const Rows& rows)
    {
        auto t = std::make_unique<CLisTable>();
        t->m_name = name;
        for (const auto& [mnem, valu] : rows) {
            CLisTableRow r;
            r.m_mnem = mnem;
            r.m_valu = valu;
            t->m_rows.push_back(r);
        }
        file.m_tables.push_back(std::move(t));
    }
    // A "DIM" table; each row CHAN, NDIM, SIZE, INCR.
    void Dim(const std::vector<std::vector<std::string>>& rows)
    {
        auto t = std::make_unique<CLisTable>();
        t->m_name = "DIM";
        for (const auto& r : rows) {
            CLisDimRow row;
            row.m_chan = r.at(0);
            row.m_ndim = r.at(1);
            row.m_size = r.at(2);
            row.m_incr = r.at(3);
            t->m_dimRows.push_back(row);
        }
        file.m_tables.push_back(std::move(t));
    }
    int Run(int tool)
    {
        LisRecogniser recognise = RecogniserFor(tool);
        EXPECT_NE(recognise, nullptr);
        return recognise ? recognise(scan, file, tool) : -1;
    }
    const CWaveformPickItem& Item(size_t i) const { return *file.m_items.at(i); }

private:
    uint32_t m_nextOffset = 4; // behind the depth
};

// The summary, then each wave channel as name@offset and the count of start-time channels.
inline std::string Line(const CWaveformPickItem& it)
{
    std::string s = Summary(it);
    for (const auto& c : it.m_waveChannels) s += Format(" %s@%u", c->m_mnemonic.c_str(), c->m_offset);
    if (!it.m_startTimeChannels.empty()) s += Format(" +%zu start times", it.m_startTimeChannels.size());
    return s;
}

// Names, offsets and sizes of a channel list: "GN1@8/2 GN2@10/2".
inline std::string Slices(const CLisChannelList& list)
{
    std::string s;
    for (const auto& c : list) s += Format("%s%s@%u/%u", s.empty() ? "" : " ", c->m_mnemonic.c_str(), c->m_offset, c->m_size);
    return s;
}

// Line() of every item of the model's file.
inline std::vector<std::string> Items(const Model& m)
{
    std::vector<std::string> out;
    for (const auto& item : m.file.m_items) out.push_back(Line(*item));
    return out;
}
