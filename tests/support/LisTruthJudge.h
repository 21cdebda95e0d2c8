// The judge of the LIS logs of known truth (../shared/lis-truth), as that folder's README
// says: one implementation for the corpus test and for bench_lis_judge, which judges a
// data set written by any build. A log is read right where
// - it is converted;
// - every frame of the file is there once, named by its GR (50.5 + its index in the
//   file), none missing and none naming no frame;
// - each frame's depth lies within max(0.002, 2.5e-7 x |true depth|) of its truth, in
//   feet or metres (.1IN is 1/120 ft, .5MM 0.0005 m);
// - where a step is given, the header's holds it within max(1e-4, step x 1e-3) and over
//   the run: |header step - step| x S <= 0.01, S the true steps from the first frame to
//   the last; the fast channel FA's samples lie at -d x (N-1-s)/N x step (d the data
//   set's direction) within 1e-4;
// - a log named "held2" writes each depth on two frames, of which the reader keeps one
//   by design: its step alone is judged.
#pragma once

#include "support/MiniJson.h"
#include "support/QtxBuilder.h"

#include <string>
#include <vector>

namespace listruth {

// What meta.json says of one log, its depths and step in feet or metres.
struct Truth {
    bool metres = false;
    bool held2 = false; // every depth twice: only the step is judged
    std::vector<double> depths;
    double step = 0; // 0: none claimed
};

// A folder's meta.json as an object of logs; false, with why, where it is not one.
bool ReadMeta(const std::string& path, minijson::Value& meta, std::string& error);

// The entry of `name`; empty where it holds what a right reading needs, else why not.
std::string TruthOf(const minijson::Value& entry, const std::string& name, Truth& t);

// What is wrong with the data set `out` as a reading of the log; empty where it is read
// right. `heldFa`: the file's data format holds the fast channel FA.
std::string JudgeDataSet(const Truth& t, const QtxImage& out, bool heldFa);

} // namespace listruth
