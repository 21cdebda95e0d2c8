// Judges a data set that any build wrote from a LIS log of known truth (as
// bench_lis_outputs writes it, dsNN.qtx), against its folder's meta.json, by the corpus
// test's own judge. The log itself (<name>.lis beside meta.json) is scanned only to know
// whether its data format holds the fast channel FA.
// usage: bench_lis_judge <data set.qtx> <meta.json> <name>
// Prints "PASS" or "FAIL <why>" on one line (a data set that is absent was not converted).
// Exit 0 where judged (either way), 2 on a bad call or an unreadable meta.json or entry.
#include "lis/LisParamScan.h"
#include "platform/testing/ScriptedHost.h"
#include "support/LisDictionaryBuilder.h"
#include "support/LisTruthJudge.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// Whether the first data set the scan finds in `lisPath` holds FA, as the test asks.
bool HoldsFastChannel(const std::string& lisPath)
{
    std::error_code ec;
    const fs::path dictionary = fs::temp_directory_path(ec) / ("bench_lis_judge." + std::to_string(::getpid()));
    fs::create_directories(dictionary, ec);
    bool held = false;
    if (LisDictionaryBuilder::WriteTruthDit(dictionary.string())) {
        CLisLogicalFileList files;
        CLisParamScan scan;
        scan.Scan(lisPath, &files, dictionary.string(), lis::kToolDsi);
        if (!files.empty())
            for (const auto& channel : files[0]->m_channels) held = held || channel->m_mnemonic == "FA";
    }
    fs::remove_all(dictionary, ec);
    return held;
}

std::string OneLine(std::string why)
{
    for (char& c : why)
        if (c == '\n' || c == '\r') c = ' ';
    while (!why.empty() && (why.back() == ' ' || why.back() == ';')) why.pop_back();
    return why;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s <data set.qtx> <meta.json> <name>\n", argv[0]);
        return 2;
    }
    const std::string qtxPath = argv[1], metaPath = argv[2], name = argv[3];
    minijson::Value meta;
    std::string error;
    if (!listruth::ReadMeta(metaPath, meta, error)) {
        std::fprintf(stderr, "%s: %s\n", metaPath.c_str(), error.c_str());
        return 2;
    }
    const minijson::Value* entry = meta.Find(name);
    listruth::Truth truth;
    const std::string bad = entry ? listruth::TruthOf(*entry, name, truth) : "no entry in meta.json";
    if (!bad.empty()) {
        std::fprintf(stderr, "%s: %s\n", name.c_str(), bad.c_str());
        return 2;
    }
    std::string why;
    if (!fs::exists(qtxPath)) why = "not converted";
    else {
        ScriptedHost host; // the scan asks nothing of a log of known truth; were it to, Cancel
        ScopedHost scope(&host);
        const fs::path lisPath = fs::path(metaPath).parent_path() / (name + ".lis");
        why = listruth::JudgeDataSet(truth, LoadQtx(qtxPath), HoldsFastChannel(lisPath.string()));
    }
    std::printf("%s\n", why.empty() ? "PASS" : ("FAIL " + OneLine(why)).c_str());
    return 0;
}
