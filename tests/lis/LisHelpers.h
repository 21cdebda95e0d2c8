// Helpers of the LIS tests: a walk over a file through the record layer as the readers
// do it (read; on NoRoom probe, grow and read again) that keeps every record and file
// mark and what ended the walk, and a pick item's members on one comparable line.
#pragma once

#include "lis/LisRecordIO.h"
#include "lis/LisRecords.h"
#include "platform/Format.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

struct WalkedRecord {
    uint64_t start = 0;
    bool mark = false;
    std::vector<uint8_t> bytes; // the logical record, or the mark's 4-byte type word
    uint8_t Type() const { return bytes.empty() ? 0xFF : bytes[0]; }
    std::string Text(size_t at, size_t n) const { return std::string(bytes.begin() + long(at), bytes.begin() + long(at + n)); }
};

struct Walked {
    std::vector<WalkedRecord> records;
    lis::RecordStatus end = lis::RecordStatus::End; // what stopped the walk
    uint64_t position = 0;

    // Record types in order, "M" for a file mark: "132 130 M 128".
    std::string Types() const
    {
        std::string s;
        for (const auto& r : records) s += (s.empty() ? "" : " ") + (r.mark ? std::string("M") : std::to_string(r.Type()));
        return s;
    }
    std::vector<const WalkedRecord*> OfType(uint8_t type) const
    {
        std::vector<const WalkedRecord*> out;
        for (const auto& r : records)
            if (!r.mark && r.Type() == type) out.push_back(&r);
        return out;
    }
};

inline Walked WalkLis(BinaryFile& file, int framing)
{
    Walked w;
    std::vector<uint8_t> buffer(16);
    for (int guard = 0; guard < 100000; ++guard) {
        const uint64_t start = w.position;
        lis::RecordStatus status;
        uint32_t n = CLisRecordIO::ReadLogicalRecord(buffer.data(), buffer.size(), file, w.position, framing, &status);
        if (status == lis::RecordStatus::NoRoom) {
            const uint32_t needed = CLisRecordIO::ProbeLogicalRecord(file, w.position, framing);
            EXPECT_GT(needed, buffer.size()) << "at " << start;
            buffer.resize(needed);
            n = CLisRecordIO::ReadLogicalRecord(buffer.data(), buffer.size(), file, w.position, framing, &status);
            EXPECT_NE(n, 0u) << "probed but unreadable at " << start;
        }
        if (n == 0) {
            EXPECT_EQ(w.position, start) << "a failed read moved";
            w.end = status;
            break;
        }
        EXPECT_GT(w.position, start) << "no progress at " << start;
        const bool mark = status == lis::RecordStatus::FileMark;
        w.records.push_back({start, mark, {buffer.begin(), buffer.begin() + (mark ? 4 : n)}});
    }
    return w;
}

inline Walked WalkLis(const std::vector<uint8_t>& bytes, int framing)
{
    BinaryFile file;
    file.OpenMemory(std::make_shared<std::vector<uint8_t>>(bytes), false);
    return WalkLis(file, framing);
}

inline Walked WalkLis(const std::string& path)
{
    BinaryFile file;
    EXPECT_TRUE(file.Open(path, BinaryFile::modeRead)) << path;
    return WalkLis(file, CLisRecordIO::DetectFraming(file));
}

// tool|mnemonic|display|type|category|receivers/traces|samples|period|delay.
inline std::string Summary(const CWaveformPickItem& it)
{
    return Format("%s|%s|%s|%d|%d|%d/%d|%d|%.4f|%d", it.m_toolName.c_str(), it.m_mnemonic.c_str(),
                  it.m_displayName.c_str(), it.m_typeCode, it.m_category, it.m_receiverCount, it.m_traceCount,
                  it.m_samplesPerWaveform, double(it.m_samplePeriod), it.m_fixedDelay);
}
