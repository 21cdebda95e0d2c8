// The LIS parameter scan over a ~200 MB TIF-framed file (8 receivers x 512 samples of
// code 79 per frame, one frame per data record), beside a plain sequential read of the
// same bytes (set BRONTE_BENCH_MB for another size).
#include "lis/LisParamScan.h"
#include "lis/LisRecordIO.h"
#include "platform/BinaryFile.h"
#include "platform/Endian.h"
#include "platform/testing/ScriptedHost.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr int kReceivers = 8;
constexpr int kSamples = 512;
constexpr uint32_t kMaxPhysical = 8192;

// Every tool is recognised without a dictionary: the scan's own work is measured.
int TakeNothing(CLisScanState&, CLisLogicalFile&, int) { return 1; }

class BenchScan : public CLisParamScan {
protected:
    int LoadDictionary(const std::string&) override { return 1; }
    LisRecogniser FindRecogniser(int) override { return &TakeNothing; }
};

void Write(CLisRecordIO& io, BinaryFile& file, const std::vector<uint8_t>& record)
{
    if (!io.WriteLogicalRecord(file, record.data(), uint32_t(record.size()), kMaxPhysical, lis::kTif)) std::abort();
}

std::vector<uint8_t> FileRecord(uint8_t type)
{
    std::vector<uint8_t> r(58, ' ');
    r[0] = type;
    r[1] = 0;
    std::memcpy(&r[2], "BENCH .001", 10);
    std::memcpy(&r[37], " 8192", 5);
    return r;
}

void Entry(std::vector<uint8_t>& r, uint8_t type, uint8_t code, std::vector<uint8_t> value)
{
    r.push_back(type);
    r.push_back(uint8_t(value.size()));
    r.push_back(code);
    r.insert(r.end(), value.begin(), value.end());
}

void Block(std::vector<uint8_t>& r, const std::string& name, const std::string& units, uint16_t size, uint8_t code)
{
    std::vector<uint8_t> b(40, ' ');
    std::memcpy(b.data(), name.data(), std::min<size_t>(name.size(), 4));
    std::memcpy(b.data() + 18, units.data(), std::min<size_t>(units.size(), 4));
    endian::PutBE16(b.data() + 28, size);
    b[33] = 1;
    b[34] = code;
    r.insert(r.end(), b.begin(), b.end());
}

struct Files {
    std::string lis = (std::filesystem::temp_directory_path() / "bronte-bench-scan.lis").string();
    ScriptedHost host;

    Files()
    {
        SetHost(&host);
        const char* mb = std::getenv("BRONTE_BENCH_MB");
        const int64_t target = int64_t(mb ? std::atoi(mb) : 200) << 20;
        const uint32_t channelBytes = kSamples * 2;
        const uint32_t frameBytes = 4 + kReceivers * channelBytes;
        const int64_t frames = std::max<int64_t>(1, target / frameBytes);

        BinaryFile file;
        if (!file.Open(lis, BinaryFile::modeReadWrite | BinaryFile::modeCreate)) std::abort();
        CLisRecordIO io;
        Write(io, file, FileRecord(lis::kFileHeader));
        std::vector<uint8_t> dfsr{lis::kDataFormatSpec, 0};
        Entry(dfsr, 4, 66, {255});
        Entry(dfsr, 8, 68, {0x40, 0x00, 0x00, 0x00}); // 0.5 in code 68: exponent 0x80, fraction 1/2
        Entry(dfsr, 9, 65, {'F', 'T', ' ', ' '});
        Entry(dfsr, 0, 66, {0});
        Block(dfsr, "DEPT", "FT", 4, 68);
        for (int r = 0; r < kReceivers; ++r) Block(dfsr, "WF" + std::to_string(r + 1), "", uint16_t(channelBytes), 79);
        Write(io, file, dfsr);

        std::vector<uint8_t> data(2 + frameBytes);
        for (uint32_t i = 6; i < data.size(); ++i) data[i] = uint8_t(i * 7);
        for (int64_t f = 0; f < frames; ++f) {
            endian::PutBE32(data.data() + 2, LisFloat68FromIeee(1000.0 + 0.5 * double(f)));
            Write(io, file, data);
        }
        Write(io, file, FileRecord(lis::kFileTrailer));
        if (!io.WriteFileMark(file) || !io.WriteFileMark(file)) std::abort();
        file.Close();
    }
    ~Files()
    {
        std::filesystem::remove(lis);
        SetHost(nullptr);
    }
};

Files& Get()
{
    static Files files;
    return files;
}

int64_t SizeOf(const std::string& path) { return int64_t(std::filesystem::file_size(path)); }

void PlainRead(benchmark::State& state)
{
    Files& f = Get();
    std::vector<uint8_t> buffer(1 << 16);
    for (auto _ : state) {
        BinaryFile in;
        in.Open(f.lis, BinaryFile::modeRead);
        size_t got, total = 0;
        while ((got = in.Read(buffer.data(), buffer.size())) > 0) total += got;
        benchmark::DoNotOptimize(total);
    }
    state.SetBytesProcessed(state.iterations() * SizeOf(f.lis));
}

void Scan(benchmark::State& state)
{
    Files& f = Get();
    size_t frames = 0;
    for (auto _ : state) {
        BenchScan scan;
        CLisLogicalFileList files;
        if (!scan.Scan(f.lis, &files, "", lis::kToolDsi) || files.size() != 1) state.SkipWithError("scan failed");
        frames = files.empty() ? 0 : files[0]->m_depths.size();
    }
    state.SetBytesProcessed(state.iterations() * SizeOf(f.lis));
    state.counters["frames/s"] = benchmark::Counter(double(frames) * double(state.iterations()),
                                                    benchmark::Counter::kIsRate);
}

BENCHMARK(PlainRead)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(Scan)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
