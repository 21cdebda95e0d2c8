#include "cnv/CnvToQtx.h"

#include "cnv/CnvOrigins.h"
#include "dataset/ItemTypes.h"
#include "platform/BinaryFile.h"
#include "platform/Endian.h"
#include "platform/Format.h"
#include "res/ClssToolSetupDlgIds.h"
#include "res/DataOriginDlgIds.h"
#include "res/ResourceIds.h"
#include "support/CnvBuilder.h"
#include "support/HostFixture.h"
#include "support/HostileDepths.h"
#include "support/QtxBuilder.h"
#include "support/TempDir.h"

#include <cstdio>
#include <map>
#include <strings.h>

namespace {

constexpr int kCancel = -1;

// A data set as it lies on disk: header, the one descriptor, every whole frame.
struct QtxImage {
    QtxFileHeader header;
    QtxDatumDescriptor datum;
    std::vector<double> depths;
    std::vector<std::vector<uint8_t>> values; // the bytes behind each depth
    size_t tornBytes = 0;
};

QtxImage Load(const std::string& path)
{
    QtxImage image;
    const std::vector<uint8_t> bytes = ReadBytes(path);
    if (bytes.size() < qtx::DataStart(1)) return image;
    image.header.Decode(bytes.data());
    image.datum.Decode(bytes.data() + qtx::kHeaderSize);
    const size_t frameSize = image.header.frameSize;
    size_t at = qtx::DataStart(1);
    for (; frameSize > qtx::kDepthSize && at + frameSize <= bytes.size(); at += frameSize) {
        image.depths.push_back(endian::GetLEDouble(bytes.data() + at));
        image.values.emplace_back(bytes.begin() + long(at + 8), bytes.begin() + long(at + frameSize));
    }
    image.tornBytes = bytes.size() - at;
    return image;
}

std::string DatumText(const QtxDatumDescriptor& d)
{
    return Format("%.4s type %d category %d traces %d axes %d unit %d samples %d step %g", d.mnemonic, d.typeCode,
                  d.category, d.traceCount, d.axisCount, d.axis1.unit, d.axis1.sampleCount, double(d.axis1.step));
}

// The file bytes of channel c's samples in frame k: what the converter must copy.
std::vector<uint8_t> ChannelBytes(const CnvShape& s, int k, int c)
{
    std::vector<uint8_t> out(size_t(s.samples) * 4);
    for (int i = 0; i < s.samples; ++i) endian::PutLEFloat(out.data() + 4 * i, CnvSample(k, c, i));
    return out;
}

class CnvToQtxTest : public HostTest {
protected:
    TempDir dir;
    std::string cnvPath = dir.File("in.cnv");
    std::string qtxPath = dir.File("out.qtx");

    // The converter as the command leaves it after scanning `s`; the origin list answered
    // with `origin` (kCancel: Cancel), the CLSS dialog with receiver button `receiver`.
    CCnvToQtx Prepare(const CnvShape& s, int origin, int receiver = kCancel)
    {
        WriteCnv(cnvPath, s);
        if (origin == kCancel) host.ScriptDialog(kIddDataOrigin).Press(IDCANCEL);
        else host.ScriptDialog(kIddDataOrigin).Select(data_origin::kIdcOrigin, origin).Press(IDOK);
        using namespace clss_tool_setup;
        if (IsClssOrigin(origin) && receiver == kCancel) host.ScriptDialog(kIddClssToolSetup).Press(IDCANCEL);
        if (IsClssOrigin(origin) && receiver != kCancel)
            host.ScriptDialog(kIddClssToolSetup).Radio(kIdcReceiver1 + receiver).Press(kIdcOk);
        CCnvToQtx c;
        c.m_topDepth = s.top;
        c.m_bottomDepth = s.top + (s.frames - 1) * s.step;
        c.m_depthStep = s.step;
        c.m_depthUnit = s.depthUnits == 1 ? "FT" : "M";
        c.m_samplingPeriod = float(s.samplingPeriod);
        c.m_channelCount = s.channels;
        c.m_samplesPerChannel = uint16_t(s.samples);
        c.m_frameCount = uint32_t(s.frames);
        c.m_outputConfirmed = true;
        return c;
    }
};

// Every origin's datum for a file sampled every 10 microseconds: codes 26-35 go to the
// slowness domain with a step in milliseconds, 36-45 are remapped, CLSS steps 6.4. Each
// agrees with the item-type table: processed families (P and S mnemonics) are slowness,
// a W mnemonic names the type's caption, a named tool opens the list text.
TEST(CnvOriginTest, EachOfTheFortySixOriginsMakesItsDatumAsTheItemTypesSay)
{
    const std::map<std::string, std::string> components = {{"MNO", "Monopole"},  {"DXX", "Dipole XX"},
                                                            {"DXY", "Dipole XY"}, {"DYX", "Dipole YX"},
                                                            {"DYY", "Dipole YY"}, {"QUD", "Quadrupole"}};
    const char* const mnemonics[kCnvOriginCount] = {
        "UDEF", "WMNO", "WDXX", "WDXY", "WDYX", "WDYY", "WMNO", "WDXX", "WDXY", "WDYX", "WDYY", "WMNO",
        "WDXX", "WDXY", "WDYX", "WDYY", "WMNO", "WDXX", "WDYY", "WDXY", "WDYX", "UDEF", "WMNO", "WMNO",
        "WMNO", "WMNO", "PMNO", "PDXX", "PDYY", "PDXY", "PDYX", "SMNO", "SDXX", "SDYY", "SDXY", "SDYX",
        "WMNO", "WDXX", "WDXY", "WDYX", "WDYY", "WMNO", "WMNO", "WMNO", "WMNO", "WQUD"};
    const int remapped[] = {219, 223, 251, 252, 253, 222, 230, 229, 85, 86};
    ASSERT_EQ(std::size(data_origin::kOrigins), size_t(kCnvOriginCount));
    for (int code = 0; code < kCnvOriginCount; ++code) {
        const bool slowness = code >= 26 && code <= 35;
        const float step = code == 42 || code == 43 ? 6.4f : slowness ? 0.01f : 10.0f;
        const CnvOrigin o = CnvOriginOf(code, 10.0f);
        EXPECT_EQ(CCnvToQtx::OriginMnemonic(uint8_t(code)), mnemonics[code]);
        EXPECT_EQ(std::tuple(o.mnemonic, int(o.itemType), int(o.category), int(o.unit), o.step),
                  std::tuple(std::string(mnemonics[code]), code < 36 ? code : remapped[code - 36], slowness ? 3 : 1,
                             slowness ? 2 : 1, step))
            << code;
        const ItemType& t = ItemTypeOf(o.itemType);
        const std::string text = data_origin::kOrigins[code], tool = t.toolName, m = o.mnemonic;
        if (code == 0 || code == 21) continue; // "UDEF": nothing to agree with
        EXPECT_EQ(IsProcessed(t.family), slowness) << text;
        EXPECT_EQ(t.family == ItemFamily::Phase ? 'P' : t.family == ItemFamily::Semblance ? 'S' : 'W', m[0]) << text;
        EXPECT_TRUE(m[0] != 'W' || components.at(m.substr(1)) == t.caption) << text;
        EXPECT_TRUE(tool.empty() || slowness || strncasecmp(text.c_str(), tool.c_str(), tool.size()) == 0) << text;
    }
}

// Header and datum follow the scan and the origin (a cancelled origin is origin 0; up
// logs give direction 1 and keep their negative step; metres give 0xFF). Every frame
// holds its depth as read (-1.0 too) and the file's samples bit for bit; CLSS data put
// channel 0 on the chosen receiver's trace and zeros on the others.
TEST_F(CnvToQtxTest, WritesOneDatumFromTheScanAndTheOrigin)
{
    struct Case {
        uint8_t units, channels;
        double step;
        int origin, receiver;
        uint8_t direction, unitsByte;
        std::string datum;
    };
    const Case cases[] = {
        {1, 3, 0.5, 7, 0, qtx::kLogDown, qtx::kUnitsFeet, "WDXX type 7 category 1 traces 3 axes 1 unit 1 samples 8 step 10"},
        {0, 8, -0.25, kCancel, 0, qtx::kLogUp, qtx::kUnitsMetres, "UDEF type 0 category 1 traces 8 axes 1 unit 1 samples 8 step 10"},
        {2, 1, -1.0, 31, 0, qtx::kLogUp, qtx::kUnitsMetres, "SMNO type 31 category 3 traces 1 axes 1 unit 2 samples 8 step 0.01"},
        {1, 1, 0.5, 42, 0, qtx::kLogDown, qtx::kUnitsFeet, "WMNO type 230 category 1 traces 1 axes 1 unit 1 samples 8 step 6.4"},
        {1, 1, 0.5, 43, 1, qtx::kLogDown, qtx::kUnitsFeet, "WMNO type 229 category 1 traces 1 axes 1 unit 1 samples 8 step 6.4"},
        {1, 4, 0.5, 42, 2, qtx::kLogDown, qtx::kUnitsFeet, "WMNO type 230 category 1 traces 4 axes 1 unit 1 samples 8 step 6.4"},
    };
    for (const Case& k : cases) {
        CnvShape s = Shape(k.channels, 8, 4);
        s.depthUnits = k.units;
        s.top = -1.0;
        s.step = k.step;
        CCnvToQtx c = Prepare(s, k.origin, k.receiver);
        ASSERT_EQ(c.Convert(cnvPath, qtxPath), 1);
        const QtxImage out = Load(qtxPath);
        const QtxFileHeader& h = out.header;
        EXPECT_EQ(std::tuple(h.logDirection, h.depthUnits, h.frameCount, h.frameSize, h.datumCount, h.depthStep),
                  std::tuple(k.direction, k.unitsByte, 4u, 8u + k.channels * 32u, uint16_t(1), k.step)) << k.datum;
        EXPECT_EQ(std::pair(h.topDepth, h.bottomDepth), std::pair(-1.0, -1.0 + 3 * k.step));
        EXPECT_EQ(std::string(h.history, qtx::kHistorySize), std::string(qtx::kHistorySize, ' '));
        EXPECT_EQ(DatumText(out.datum), k.datum);
        ASSERT_EQ(out.values.size(), 4u);
        for (int f = 0; f < 4; ++f) {
            EXPECT_EQ(out.depths[size_t(f)], -1.0 + k.step * f);
            std::vector<uint8_t> expected;
            for (int t = 0; t < k.channels; ++t) {
                const std::vector<uint8_t> trace = !IsClssOrigin(k.origin) ? ChannelBytes(s, f, t)
                                                   : t == k.receiver      ? ChannelBytes(s, f, 0)
                                                                          : std::vector<uint8_t>(32, 0);
                expected.insert(expected.end(), trace.begin(), trace.end());
            }
            EXPECT_EQ(out.values[size_t(f)], expected) << k.datum << " frame " << f;
        }
    }
}

// Every question and refusal comes before the output exists: nothing is created or
// replaced after a Cancel, a No or an output that is the input.
TEST_F(CnvToQtxTest, RefusalsLeaveTheFilesAsTheyWere)
{
    const CnvShape s = Shape(2, 8, 4);
    WriteBytes(qtxPath, {1, 2, 3});
    EXPECT_EQ(Prepare(s, 43, kCancel).Convert(cnvPath, qtxPath), 0);
    CCnvToQtx asked = Prepare(s, 1);
    asked.m_outputConfirmed = false;
    host.ExpectMessage(qtxPath + " already exists. Do you want to replace it?", IDNO);
    EXPECT_EQ(asked.Convert(cnvPath, qtxPath), 0);
    EXPECT_EQ(ReadBytes(qtxPath), std::vector<uint8_t>({1, 2, 3}));
    host.ExpectMessage("Output file is the same as input file :\n" + cnvPath + "\nOperation will be abandoned.");
    EXPECT_EQ(Prepare(s, 1).Convert(cnvPath, cnvPath), 0);
    EXPECT_EQ(ReadBytes(cnvPath), CnvBytes(s));
}

// A sampling period of 0 or below (the file's word is signed) would give waveforms no
// view can show: refused before any output, unless a CLSS origin brings its own step.
TEST_F(CnvToQtxTest, APeriodOfZeroOrBelowIsRefusedUnlessTheOriginBringsItsStep)
{
    for (const int16_t period : {int16_t(0), int16_t(-10), int16_t(-32768)})
        for (const int origin : {1, 31, kCancel}) {
            CnvShape s = Shape(2, 8, 4);
            s.samplingPeriod = period;
            CCnvToQtx c = Prepare(s, origin);
            host.ExpectMessage(Format("Encountered invalid sampling period (%d) in file :\n%s\nA waveform's samples "
                                      "need a period above 0.\nOperation will be abandoned.",
                                      int(period), cnvPath.c_str()));
            EXPECT_EQ(c.Convert(cnvPath, qtxPath), 0) << period << " " << origin;
            EXPECT_FALSE(FileExists(qtxPath)) << period << " " << origin;
        }
    CnvShape s = Shape(1, 8, 4);
    s.samplingPeriod = 0;
    ASSERT_EQ(Prepare(s, 42, 0).Convert(cnvPath, qtxPath), 1);
    EXPECT_EQ(DatumText(Load(qtxPath).datum), "WMNO type 230 category 1 traces 1 axes 1 unit 1 samples 8 step 6.4");
}

// While frames are written the chosen name holds nothing. A confirmed stop is a success
// that leaves exactly the whole frames written, counted, with their depths (none: no
// file); a failure leaves no file.
TEST_F(CnvToQtxTest, StoppedOrFailedRunsLeaveExactlyTheWholeFramesWritten)
{
    struct Case {
        int stopAfter;      // frames before Stop is pressed; -1: never
        int answer;         // to the stop question
        int cnvFrames;      // whole frames left in the CNV file after the scan
        const char* error;  // the failure's message
        int result, frames;
    };
    const Case cases[] = {
        {0, IDYES, 6, "", 1, 0},
        {2, IDYES, 6, "", 1, 2},
        {2, IDNO, 6, "", 1, 6},
        {-1, 0, 3, "Error reading frame data in file :\n", 0, 0},
    };
    for (const Case& k : cases) {
        std::remove(qtxPath.c_str());
        const CnvShape s = Shape(2, 8, 6);
        CCnvToQtx c = Prepare(s, 1);
        std::vector<uint8_t> bytes = CnvBytes(s);
        bytes.resize(6 + size_t(k.cnvFrames) * CnvFrameSize(2, 8) + (k.cnvFrames < 6 ? 20 : 0));
        WriteBytes(cnvPath, bytes);
        if (k.stopAfter >= 0) {
            host.ScriptDialog(kIddProgress)
                .Pumps(2 * k.stopAfter + 1)
                .Inspect([&](CDialog&) { EXPECT_FALSE(FileExists(qtxPath)); })
                .Press(IDCANCEL);
            host.ExpectMessage("Are you sure you want to stop converting?", k.answer);
        } else {
            host.ExpectMessage(k.error + cnvPath);
        }
        EXPECT_EQ(c.Convert(cnvPath, qtxPath), k.result) << k.error;
        EXPECT_EQ(FileExists(qtxPath), k.frames > 0) << k.stopAfter << k.error;
        const QtxImage out = Load(qtxPath);
        EXPECT_EQ(std::tuple(out.header.frameCount, out.depths.size(), out.tornBytes),
                  std::tuple(uint32_t(k.frames), size_t(k.frames), size_t(0)))
            << k.stopAfter << k.error;
        if (k.frames > 0) {
            EXPECT_EQ(out.header.bottomDepth, out.depths.back());
        }
    }
}

// A depth column that breaks the rule (no number, no step, a turn, a jump) is refused
// with the importers' one message before a question is asked or an output exists.
TEST_F(CnvToQtxTest, RefusesABadDepthColumnBeforeAskingOrWriting)
{
    for (const HostileDepthColumn& column : HostileDepthColumns()) {
        CnvShape s = Shape(2, 8, int(column.depths.size()));
        s.depths = column.depths;
        WriteCnv(cnvPath, s);
        CCnvToQtx c;
        c.m_topDepth = s.depths.front();
        c.m_bottomDepth = s.depths.back();
        c.m_depthStep = s.depths[1] - s.depths[0];
        c.m_depthUnit = "FT";
        c.m_channelCount = s.channels;
        c.m_samplesPerChannel = uint16_t(s.samples);
        c.m_frameCount = uint32_t(s.frames);
        c.m_outputConfirmed = true;
        host.ExpectMessage(HostileDepthMessage(cnvPath, column));
        EXPECT_EQ(c.Convert(cnvPath, qtxPath), 0) << column.what;
        EXPECT_FALSE(FileExists(qtxPath)) << column.what;
        EXPECT_EQ(host.Messages().size(), 1u) << column.what;
        host.ClearMessages();
    }
}

} // namespace
