// Checks of a writer's output after a failed or stopped run: each returns "" when the
// file does not exist or holds what its own header says, else what lies.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/BinaryFile.h" // the fault hook the runs below set

class ScriptedHost;

// QTX: the length is the header, the descriptors and the header's frame count of whole
// frames; the descriptors tile the frame behind its depth; top and bottom depths are
// the first and last frame's.
std::string QtxOutputLies(const std::string& path);
// LAS: every ~A line holds one value per ~C curve and ends with a line end; STOP is
// the last line's depth.
std::string LasOutputLies(const std::string& path);

// A writer's disk writes failing at chosen byte counts.
struct FaultPoint {
    std::string where;
    int64_t bytes;
};
// Points in the header, in the descriptors, in the first frame, at a later frame and in
// the last bytes of a QTX output of `datums` datums and `frameSize` bytes a frame,
// whose clean run wrote `total` bytes.
std::vector<FaultPoint> QtxFaultPoints(int datums, uint32_t frameSize, int64_t total);
// The same points for the data set a clean run wrote at `path`, its shape read from it.
std::vector<FaultPoint> QtxFaultPointsOf(const std::string& path, int64_t total);
// Points spread over any output of `total` bytes: the start, early, a third, two thirds, the end.
std::vector<FaultPoint> SpreadFaultPoints(int64_t total);

using OutputCheck = std::function<std::string(const std::string& path)>;
// For outputs whose every byte is known once written (reports, dictionaries): the first
// existing file it checks (the clean run's) is the reference; any later one must equal it.
OutputCheck WholeOrAbsent();
// Runs a writer cleanly (its output must pass `lies`), then with the disk failing at each
// of `points(clean run's bytes)` inside the clean output, then stopped at each pump count
// of `stops` by Cancel on dialog `progressId` and Yes to a question containing
// `stopQuestion`. After each, `output` must pass `lies`; after each failure a message
// box must have been shown. `run(clean)` removes nothing: this does before each run.
struct FaultRun {
    std::function<void(bool clean)> run;
    std::string output;
    OutputCheck lies;
    std::function<std::vector<FaultPoint>(int64_t total)> points;
    std::vector<int> stops;
    int progressId = 0;
    std::string stopQuestion = "Are you sure you want to stop";
    std::function<void()> script = [] {}; // the run's own questions, asked before any stop
};
void ExpectNoLyingOutput(ScriptedHost& host, const FaultRun& f);
