// The sweep's generator (support/LisSweep.h) against what its kinds promise, told from
// each log's truth: the sweep's judge trusts the truth, so a kind that drifted from its
// promise would pass or fail the reader for the wrong reason.
#include "support/LisSweep.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>

namespace {

using sweep::Case;
using sweep::Kind;
using sweep::Written;

constexpr uint32_t kSeed = 777;
constexpr int kTable = 20, kKindCases = 300;
constexpr double kFoot = 0.3048;
// Two true depths at one place agree to far within this share of the depth, and a
// distance between two in steps with a whole number within this many.
constexpr double kSame = 1e-9, kWholeSteps = 1e-6;
// What the kinds promise: EB 8 3-10% off or 1.5 steps; 4-9 records; 2-3 turns; at
// least one record with no gap after it, five at most (a deep log's most).
constexpr double kTyOffLeast = 0.03, kTyOffMost = 0.10, kWide = 1.5;
constexpr size_t kFewRecordsLeast = 4, kFewRecordsMost = 9;
constexpr int kTurnsLeast = 2, kTurnsMost = 3, kGaplessMost = 5;

std::vector<Case> OfKind(Kind kind)
{
    std::vector<Case> out;
    for (const Case& c : sweep::Draw(kSeed, kTable, kKindCases))
        if (c.kind == kind) out.push_back(c);
    return out;
}

// Depth once, each record's first frame and the number of frames it holds.
struct Record {
    const sweep::Frame* first;
    const sweep::Frame* last;
    int frames;
};

// Points into `w`, which must outlive them.
std::vector<Record> RecordsOf(const Written& w)
{
    std::vector<Record> out;
    for (const sweep::Frame& f : w.frames) {
        if (f.inRecord == 0) out.push_back({&f, &f, 0});
        out.back().last = &f;
        ++out.back().frames;
    }
    return out;
}

// How far `b` lies along the log from `a`, in steps.
double Steps(const Case& c, const sweep::Frame& a, const sweep::Frame& b)
{
    return (b.depth - a.depth) * (c.up ? -1.0 : 1.0) / c.StepOut();
}

bool Same(double a, double b) { return std::fabs(a - b) <= kSame * std::max(1.0, std::fabs(a)); }

TEST(LisSweepKinds, AddingKindCasesChangesNoCaseDrawnBeforeAndDrawsEveryKindInTurn)
{
    const std::vector<Case> fewer = sweep::Draw(kSeed, kTable, 60), more = sweep::Draw(kSeed, kTable, 180);
    std::map<int, const Case*> byId;
    for (const Case& c : more) byId[c.id] = &c;
    std::vector<std::vector<uint8_t>> later; // the later kinds' logs of the longer draw, in order
    for (const Case& c : more)
        if (c.kind >= Kind::ChangingPadding) later.push_back(sweep::Write(c).bytes);
    std::map<Kind, int> counts;
    size_t laterAt = 0;
    for (const Case& c : fewer) {
        ++counts[c.kind];
        if (c.kind < Kind::ChangingPadding) { // the table's and the earlier kinds' keep their numbers too
            ASSERT_TRUE(byId.count(c.id));
            EXPECT_EQ(byId[c.id]->Describe(), c.Describe());
        } else {
            ASSERT_LT(laterAt, later.size());
            EXPECT_EQ(later[laterAt++], sweep::Write(c).bytes) << c.Describe();
        }
    }
    counts.erase(Kind::Table);
    const auto [least, most] = std::minmax_element(counts.begin(), counts.end(),
                                                   [](const auto& a, const auto& b) { return a.second < b.second; });
    EXPECT_EQ(counts.size(), size_t(Kind::TurnBack)); // every kind but the table's (TurnBack the last)
    EXPECT_LE(most->second - least->second, 1);
}

TEST(LisSweepKinds, FewSpliceBackStartsExactlyOneRecordInsideTheOneBeforeAndDropsOnlyAFrameItLandsOn)
{
    for (const Case& c : OfKind(Kind::FewSpliceBack)) {
        const Written w = sweep::Write(c);
        const std::vector<Record> records = RecordsOf(w);
        EXPECT_GE(records.size(), kFewRecordsLeast) << c.Describe();
        EXPECT_LE(records.size(), kFewRecordsMost) << c.Describe();
        int inside = 0, dropped = 0;
        for (size_t r = 1; r < records.size(); ++r) {
            const double fromFirst = Steps(c, *records[r - 1].first, *records[r].first);
            const double fromLast = Steps(c, *records[r - 1].last, *records[r].first);
            inside += fromFirst > 0 && fromLast <= kSame ? 1 : 0;
            EXPECT_EQ(records[r - 1].last->dropped, Same(records[r - 1].last->depth, records[r].first->depth));
            dropped += records[r - 1].last->dropped ? 1 : 0;
            // Elsewhere the records run on, or leave a gap of whole steps.
            if (fromLast > 0) {
                EXPECT_NEAR(fromLast, std::round(fromLast), kWholeSteps) << c.Describe();
            }
        }
        EXPECT_EQ(inside, 1) << c.Describe();
        EXPECT_LE(dropped, 1) << c.Describe();
    }
}

// Depth once, from each record's depth to the next's: how many steps along the log, in
// records' frames (the record before's), each counted where whole.
struct Distances {
    int back = 0, runOn = 0, oneRecordGap = 0, other = 0;
};

Distances DistancesOf(const Case& c)
{
    const Written w = sweep::Write(c);
    const std::vector<Record> records = RecordsOf(w);
    Distances d;
    for (size_t r = 1; r < records.size(); ++r) {
        const double steps = Steps(c, *records[r - 1].first, *records[r].first), n = records[r - 1].frames;
        if (steps < 0) ++d.back;
        else if (std::fabs(steps - n) < kWholeSteps) ++d.runOn;
        else if (std::fabs(steps - 2 * n) < kWholeSteps) ++d.oneRecordGap;
        else ++d.other;
    }
    return d;
}

TEST(LisSweepKinds, RecordGapsLeaveOutOneRecordAfterAllButAFewAndTurnBackTurnsTwoOrThreeTimes)
{
    for (const Case& c : OfKind(Kind::RecordGaps)) {
        const Distances d = DistancesOf(c);
        EXPECT_EQ(d.back + d.other, 0) << c.Describe();
        EXPECT_GE(d.runOn, 1) << c.Describe();
        EXPECT_LE(d.runOn, kGaplessMost) << c.Describe();
    }
    for (const Case& c : OfKind(Kind::TurnBack)) {
        const Distances d = DistancesOf(c);
        EXPECT_EQ(d.oneRecordGap + d.other, 0) << c.Describe();
        EXPECT_GE(d.back, kTurnsLeast) << c.Describe();
        EXPECT_LE(d.back, kTurnsMost) << c.Describe();
    }
}

// EB 8 as the file writes it (in its own units) against the true step.
double Entry8Share(const Case& c, const Written& w)
{
    double feetOrMetres = w.entry8 * w.entry8Factor;
    if (w.entry8Metres != c.depth.metres) feetOrMetres = c.depth.metres ? feetOrMetres * kFoot : feetOrMetres / kFoot;
    return feetOrMetres / c.StepOut();
}

TEST(LisSweepKinds, ThreeFramesMissTheStepByThreeToTenPercentAndWideGapsByHalf)
{
    for (const Case& c : OfKind(Kind::ThreeFrames)) {
        const Written w = sweep::Write(c);
        const double off = std::fabs(Entry8Share(c, w) - 1);
        EXPECT_TRUE(off >= kTyOffLeast && off <= kTyOffMost) << off << " " << c.Describe();
        EXPECT_EQ(c.once ? RecordsOf(w).size() : w.frames.size(), 3u) << c.Describe();
    }
    for (const Case& c : OfKind(Kind::WideGaps)) {
        const Written w = sweep::Write(c);
        EXPECT_NEAR(Entry8Share(c, w), kWide, kSame) << c.Describe();
        EXPECT_TRUE(w.recordsRunOn) << c.Describe();
    }
}

} // namespace
