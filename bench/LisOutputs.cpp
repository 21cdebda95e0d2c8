// Writes what a build makes of one LIS file, so that two builds can be compared file by
// file: the Scan Lis report, and for every data set the scan finds (the DSI tool's
// dictionary, every item chosen, as the step sweep converts) the QTX data set, its
// conversion log, its frames as text and a one-line summary. Outputs of a refused
// conversion are not kept, as the command keeps none; the messages shown say why.
// usage: bench_lis_outputs <file.lis> <output folder>
//   scan.txt     the report (it names the input's path)
//   dsNN.qtx     data set NN (01 the first), dsNN.log its log (dated at time 0)
//   dsNN.frames  one line per frame: the depth, then every value of the frame
//   summary.txt  the scan's result, then one line per data set: converted, frames,
//                frames dropped, step, first and last depth; every message shown (and a
//                report that failed), on a line of its own below what it came with,
//                the output folder written as <out>
// Exit 0 where the file was scanned, 1 where the scan failed, 2 on a bad call.
#include "lis/LisParamScan.h"
#include "lis/LisScan.h"
#include "lis/LisToQtx.h"
#include "platform/testing/ScriptedHost.h"
#include "support/LisDictionaryBuilder.h"
#include "support/QtxBuilder.h"

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::string Printed(const char* format, double a, double b = 0)
{
    char text[256];
    std::snprintf(text, sizeof text, format, a, b);
    return text;
}

// What was said since the last call, on one line each, the output folder as <out>.
class Messages {
public:
    explicit Messages(std::string out) : m_out(std::move(out)) {}
    void Add(std::string what)
    {
        for (size_t at; (at = what.find(m_out)) != std::string::npos;) what.replace(at, m_out.size(), "<out>");
        for (char& c : what)
            if (c == '\n' || c == '\r') c = ' ';
        m_text += "  " + what + "\n";
    }
    std::string Take() { return std::exchange(m_text, std::string()); }

private:
    std::string m_out, m_text;
};

std::string FramesText(const std::string& qtxPath)
{
    const QtxImage image = LoadQtx(qtxPath);
    std::string text;
    for (size_t k = 0; k < image.depths.size(); ++k) {
        text += Printed("%.9g", image.depths[k]);
        if (k < image.frames.size())
            for (float v : image.frames[k]) text += Printed(" %.9g", double(v));
        text += "\n";
    }
    return text;
}

// Converts data set `index` (0 the first) into dsNN.*; its summary line.
std::string ConvertOne(CLisLogicalFile& set, size_t index, const std::string& lisPath, const fs::path& out)
{
    char name[16];
    std::snprintf(name, sizeof name, "ds%02zu", index + 1);
    const std::string qtxPath = (out / (std::string(name) + ".qtx")).string();
    for (auto& item : set.m_items) item->m_selected = 1;
    int converted = 0;
    {
        CLisToQtx converter;
        converter.m_outputConfirmed = true;
        converter.m_clock = [] { return std::time_t(0); };
        if (converter.OpenLog(fs::path(lisPath).filename().string(), qtxPath, lisPath)) {
            converter.LogDataSet("Dsi", set);
            converted = converter.Convert(&set, lisPath, qtxPath);
            // A refused or failed run keeps no log, as the command keeps none.
            if (!converted) converter.m_log.Abandon();
        }
    }
    std::string line = std::string(name) + " \"" + set.m_fileName + "\": converted " + std::to_string(converted);
    line += ", " + std::to_string(set.m_depths.size()) + " frames, " + std::to_string(set.m_droppedCount)
            + " dropped, step " + Printed("%.9g", set.m_frameSpacing);
    if (!set.m_depths.empty())
        line += Printed(", depths %.9g to %.9g", set.m_depths.front().m_depth, set.m_depths.back().m_depth);
    if (converted && fs::exists(qtxPath)) {
        const std::string frames = FramesText(qtxPath);
        WriteBytes((out / (std::string(name) + ".frames")).string(), std::vector<uint8_t>(frames.begin(), frames.end()));
    }
    return line + "\n";
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <file.lis> <output folder>\n", argv[0]);
        return 2;
    }
    const std::string lisPath = argv[1];
    const fs::path out = fs::absolute(argv[2]);
    const fs::path dictionary = out / ".dictionary";
    fs::create_directories(dictionary);
    Messages messages(out.string());
    ScriptedHost host; // every question is answered with Cancel, and recorded
    host.onUnexpected = [&](const std::string& what) { messages.Add("shown: " + what); };
    ScopedHost scope(&host);
    if (!LisDictionaryBuilder()
             .Depth({"DEPT"})
             .Section("~DSI", {{"DX", "GN", "NRM", "NS", "PER", "NR", "DIP", "DSIMONO"}})
             .Section("~QTX", {{"WMNO", "MNS", "MSP", "", "MNR", "WMNO"}})
             .WriteDit(dictionary.string())) {
        std::fprintf(stderr, "cannot write the dictionary into %s\n", dictionary.c_str());
        return 2;
    }
    std::string summary = "input " + fs::path(lisPath).filename().string() + "\n";
    {
        CLisScan report;
        const Status reported = report.Run(lisPath, (out / "scan.txt").string());
        if (reported.Ok()) summary += "report written\n";
        else messages.Add("report failed: " + reported.Message());
    }
    summary += messages.Take();
    CLisLogicalFileList files;
    int scanned = 0;
    {
        CLisParamScan scan;
        scanned = scan.Scan(lisPath, &files, dictionary.string(), lis::kToolDsi);
    }
    summary += "scanned " + std::to_string(scanned) + ", " + std::to_string(files.size()) + " data sets\n";
    summary += messages.Take();
    for (size_t k = 0; k < files.size(); ++k) {
        summary += ConvertOne(*files[k], k, lisPath, out);
        summary += messages.Take();
    }
    WriteBytes((out / "summary.txt").string(), std::vector<uint8_t>(summary.begin(), summary.end()));
    fs::remove_all(dictionary);
    std::fputs(summary.c_str(), stdout);
    return scanned == 1 ? 0 : 1;
}
