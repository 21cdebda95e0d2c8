#include "lis/LisDictionary.h"

#include "platform/BinaryFile.h"
#include "platform/Path.h"
#include "res/CommandIds.h"
#include "support/AppFixture.h"
#include "support/HostFixture.h"
#include "support/KilledWriter.h"
#include "support/LisDictionaryBuilder.h"
#include "support/QtxBuilder.h"
#include "support/TempDir.h"

#include <sys/resource.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <memory>

namespace {

// Loads the stored form of `text` from a memory file.
std::unique_ptr<CLisDictionary> LoadText(const std::string& text)
{
    auto bytes = std::make_shared<std::vector<uint8_t>>(LisDictionaryBuilder::Scramble(text));
    BinaryFile file;
    file.OpenMemory(bytes, false);
    auto dictionary = std::make_unique<CLisDictionary>();
    EXPECT_EQ(dictionary->Load(file), 1);
    return dictionary;
}

std::unique_ptr<CLisDictionary> Load(const LisDictionaryBuilder& b) { return LoadText(b.Text()); }

// What an entry should hold; lists name their leading strings, the rest are empty.
struct Want {
    std::string tool;
    int count = 0;
    std::vector<std::string> wave{}, gain{}, extra{};
    std::string samples{}, period{}, receivers{}, delay{}, waveName{}, label{};
};

void ExpectList(const CLisDictionaryEntry::List& got, const std::vector<std::string>& want, const char* what)
{
    for (size_t i = 0; i < got.size(); ++i)
        EXPECT_EQ(got[i], i < want.size() ? want[i] : std::string()) << what << "[" << i << "]";
}

void ExpectEntry(const CLisDictionaryEntry& e, const Want& w)
{
    EXPECT_EQ(e.m_toolName, w.tool);
    EXPECT_EQ(int(e.m_mnemonicCount), w.count);
    ExpectList(e.m_waveMnemonics, w.wave, "wave");
    ExpectList(e.m_gainMnemonics, w.gain, "gain");
    ExpectList(e.m_extraMnemonics, w.extra, "extra");
    EXPECT_EQ(e.m_samplesParam, w.samples);
    EXPECT_EQ(e.m_periodParam, w.period);
    EXPECT_EQ(e.m_receiversParam, w.receivers);
    EXPECT_EQ(e.m_delayParam, w.delay);
    EXPECT_EQ(e.m_waveName, w.waveName);
    EXPECT_EQ(e.m_itemLabel, w.label);
}

std::vector<std::string> Numbered(const char* prefix, int n)
{
    std::vector<std::string> out;
    for (int i = 0; i < n; ++i) out.push_back(prefix + std::to_string(i));
    return out;
}

} // namespace

TEST(LisDictionaryLoad, EachSectionMapsItsFieldsToTheEntry)
{
    struct Case {
        const char* section;
        std::vector<std::string> fields;
        Want want;
    };
    const auto f = [](int n) { return Numbered("F", n); };
    std::vector<std::string> letters;
    for (char c = 'A'; c <= 'P'; ++c) letters.push_back(std::string(1, c));
    std::vector<std::string> thirtyTwoPlus = letters; // 40 fields in all, short enough for one line
    thirtyTwoPlus.resize(30);
    thirtyTwoPlus.insert(thirtyTwoPlus.end(), {"W", "L", "X", "X", "X", "X", "X", "X", "X", "X"});
    const Case cases[] = {
        {"~MAC/XMAC", f(6), {.tool = "Xmac", .count = 1, .wave = {"F0"}, .gain = {"F1"}, .extra = {"F2"}, .waveName = "F3", .label = "F4"}},
        {"~APX", f(4), {.tool = "Apx", .count = 1, .wave = {"F0"}, .gain = {"F1"}, .waveName = "F2", .label = "F3"}},
        {"~DAL", f(5), {.tool = "DAL", .count = 4, .wave = {"F0"}, .gain = {"F1"}, .extra = {"F2"}, .waveName = "F3", .label = "F4"}},
        {"~DSI", f(5), {.tool = "Dsi", .count = 1, .wave = {"F0"}, .period = "F1", .delay = "F2", .waveName = "F3", .label = "F4"}},
        {"~DSI", f(8), {.tool = "Dsi", .count = 1, .wave = {"F0"}, .gain = {"F1"}, .extra = {"F2"}, .samples = "F3",
                        .period = "F4", .receivers = "F5", .waveName = "F6", .label = "F7"}},
        {"~DSI", f(4), {.tool = "Dsi", .count = 1, .wave = {"F0"}, .gain = {"F1"}, .extra = {"F2"}, .samples = "F3"}},
        {"~SLT", f(8), {.tool = "SLT", .count = 2, .wave = {"F0", "F1"}, .extra = {"F2", "F3"}, .period = "F5",
                        .delay = "F4", .waveName = "F6", .label = "F7"}},
        {"~QSLT", f(6), {.tool = "Qslt", .count = 5, .wave = {"F0"}, .samples = "F2", .period = "F3", .delay = "F1",
                         .waveName = "F4", .label = "F5"}},
        {"~ISONIC", f(12), {.tool = "Isonic", .count = 8, .wave = f(8), .period = "F9", .delay = "F8", .waveName = "F10", .label = "F11"}},
        {"~WAVESONIC", f(5), {.tool = "Wavesonic", .count = 3, .wave = f(3), .waveName = "F3", .label = "F4"}},
        {"~WAVESONIC", f(20), {.tool = "Wavesonic", .count = 16, .wave = f(16), .waveName = "F18", .label = "F19"}},
        {"~WAVESONIC", f(2), {.tool = "Wavesonic", .count = 0, .waveName = "F0", .label = "F1"}},
        {"~WAVESONIC", f(1), {.tool = "Wavesonic", .count = 0, .label = "F0"}},
        // Fields past the 32nd are dropped, so the last two kept name the waveform and item.
        {"~WAVESONIC", thirtyTwoPlus, {.tool = "Wavesonic", .count = 16, .wave = letters, .waveName = "W", .label = "L"}},
        {"~BAT", f(9), {.tool = "Bat", .count = 7, .wave = f(7), .waveName = "F7", .label = "F8"}},
        {"~FWS", f(10), {.tool = "Fws", .count = 4, .wave = f(4), .gain = {"F4", "F5", "F6", "F7"}, .waveName = "F8", .label = "F9"}},
        {"~FWS", f(2), {.tool = "Fws", .count = 1, .wave = {"F0"}, .waveName = "F0", .label = "F1"}},
        {"~FWS", f(1), {.tool = "Fws", .count = 1, .wave = {"F0"}, .label = "F0"}},
        {"~CLSS/SCOUT", f(3), {.tool = "Scout", .count = 1, .wave = {"F0"}, .waveName = "F1", .label = "F2"}},
        {"~CLSS/SCOUT", f(6), {.tool = "Scout", .count = 4, .wave = f(4), .waveName = "F4", .label = "F5"}},
        {"~CLSS/SCOUT", f(4), {.tool = "Scout"}},
        {"~LSS", f(6), {.tool = "LSS", .count = 2, .wave = {"F0", "F1"}, .gain = {"F2", "F3"}, .label = "F4"}},
        {"~DSLT", f(6), {.tool = "Dslt", .count = 2, .wave = {"F0", "F1"}, .extra = {"F2", "F3"}, .delay = "F4", .label = "F5"}},
        {"~QTX", f(6), {.tool = "QTX", .count = 0, .wave = {"F0"}, .samples = "F1", .period = "F2", .receivers = "F4",
                        .delay = "F3", .waveName = "F5"}},
        // Empty fields stay empty and keep the positions of the later ones.
        {"~APX", {"F0", "", "F2", "F3"}, {.tool = "Apx", .count = 1, .wave = {"F0"}, .waveName = "F2", .label = "F3"}},
        // Lower-case text loads in upper case.
        {"~mac/xmac", {"wf1", "g1", "n1", "Wave name", "xmacMono"},
         {.tool = "Xmac", .count = 1, .wave = {"WF1"}, .gain = {"G1"}, .extra = {"N1"}, .waveName = "WAVE NAME", .label = "XMACMONO"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.section) + " with " + std::to_string(c.fields.size()) + " fields");
        LisDictionaryBuilder b;
        b.Section(c.section, {c.fields});
        const auto d = Load(b);
        ASSERT_EQ(d->Entries().size(), 2u);
        ExpectEntry(*d->Entries()[0], c.want);
        ExpectEntry(*d->Entries()[1], {.tool = c.want.tool});
    }
}

TEST(LisDictionaryLoad, DepthSectionKeepsItsFirstSixteenLines)
{
    struct Case {
        std::vector<std::string> lines;
        std::vector<std::string> want;
    };
    const std::vector<std::string> twenty = Numbered("D", 20);
    const Case cases[] = {
        {{"DEPT", "DEPTH", "tdep"}, {"DEPT", "DEPTH", "TDEP"}},
        {{}, {}},
        {{"DEPT", "", "A:B"}, {"DEPT", "", "A:B"}}, // every line is one mnemonic, whatever it holds
        {twenty, Numbered("D", 16)},
        {{std::string(91, 'd') + "EPT"}, {"LINE TOO LONG", "EPT"}},
    };
    for (const Case& c : cases) {
        LisDictionaryBuilder b;
        b.Depth(c.lines);
        const auto d = Load(b);
        ASSERT_EQ(d->Entries().size(), 1u);
        ExpectEntry(*d->Entries()[0], {.tool = "DepthMnemonics", .count = int(c.want.size()), .wave = c.want});
    }
}

TEST(LisDictionaryLoad, LinesLongerThanNinetyCharactersReadAsLineTooLong)
{
    const std::string ninety(90, 'A');
    struct Case {
        const char* name;
        std::string line;
        std::vector<Want> records;
    };
    const Case cases[] = {
        {"90 characters are kept", ninety, {{.tool = "Apx", .count = 1, .wave = {ninety}}}},
        {"the 92nd character starts the next line", ninety + "B:G:W:L",
         {{.tool = "Apx", .count = 1, .wave = {"LINE TOO LONG"}}, {.tool = "Apx", .count = 1, .gain = {"G"}, .waveName = "W", .label = "L"}}},
        {"a cut between fields", ninety + ":X:W:L",
         {{.tool = "Apx", .count = 1, .wave = {"LINE TOO LONG"}}, {.tool = "Apx", .count = 1, .wave = {"X"}, .gain = {"W"}, .waveName = "L"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LisDictionaryBuilder b;
        b.Line("~APX").Line(c.line).Line("END::");
        const auto d = Load(b);
        ASSERT_EQ(d->Entries().size(), c.records.size() + 1);
        for (size_t i = 0; i < c.records.size(); ++i) ExpectEntry(*d->Entries()[i], c.records[i]);
        ExpectEntry(*d->Entries().back(), {.tool = "Apx"});
    }
}

TEST(LisDictionaryLoad, OnlyLinesEqualToASectionNameOpenOne)
{
    const std::string apx = LisDictionaryBuilder::Join({"W", "G", "N", "L"});
    struct Case {
        const char* name;
        LisDictionaryBuilder text;
        std::vector<std::string> labels; // of the entries loaded
    };
    const Case cases[] = {
        {"unknown section and stray lines skipped",
         LisDictionaryBuilder().Line("~FOO").Line("X:Y:Z").Line("~APX ").Line("END::").Line("A:B:C:D").Section("~APX", {{"W", "G", "N", "L"}}),
         {"L", ""}},
        {"the first line is read like the others", LisDictionaryBuilder("~APX").Line(apx).Line("END::"), {"L", ""}},
        {"the tail of a long line", LisDictionaryBuilder().Line(std::string(91, 'x') + "~APX").Line(apx).Line("END::"), {"L", ""}},
        {"a section name inside a section is a record", LisDictionaryBuilder().Section("~APX", {{"~DEPTH"}, {"W", "G", "N", "L"}}),
         {"", "L", ""}},
    };
    for (const Case& c : cases) {
        const auto d = Load(c.text);
        std::vector<std::string> labels;
        for (const auto& e : d->Entries()) labels.push_back(e->m_itemLabel);
        EXPECT_EQ(labels, c.labels) << c.name;
    }
}

// A line ends at LF, CR LF or CR, whichever system saved the text, and at the text's
// end; blank lines are no records; a section cut short by the end keeps its records.
TEST(LisDictionaryLoad, LineEndsAndTheEndOfTheTextDecideTheRecords)
{
    const struct { const char* name; std::string text; size_t entries; } cases[] = {
        {"CR LF", LisDictionaryBuilder().Depth({"DEPT"}).Text(), 1},
        {"LF only", LisDictionaryBuilder("T", "\n").Depth({"DEPT"}).Text(), 1},
        {"CR only", LisDictionaryBuilder("T", "\r").Depth({"DEPT"}).Text(), 1},
        {"LF LF: blank lines between", LisDictionaryBuilder("T", "\n\n").Depth({"DEPT"}).Text(), 1},
        {"LF only from the second line", "T\r\n~DEPTH\nDEPT\nEND::\n", 1},
        {"mixed line ends", "T\r~APX\nA:B:C:D\r\nE:F:G:H\rEND::", 3},
        {"blank lines in a section", "T\n~APX\n\nA:B:C:D\n\r\n\nEND::\n", 2},
        {"no END line", "T\r\n~APX\r\nA:B:C:D\r\nE:F:G:H\r\n", 2},
        {"last line without its line end", "T\r\n~APX\r\nA:B:C:D\r\nE:F:G:H", 2},
        {"LF: last line without its line end", "T\n~APX\nA:B:C:D\nE:F:G:H", 2},
        {"CR: last line without its line end", "T\r~APX\rA:B:C:D\rE:F:G:H", 2},
        {"END without its line end", "T\r\n~APX\r\nA:B:C:D\r\nEND::", 2},
        {"END after a lone CR", "T\r\n~APX\r\nA:B:C:D\r\nEND::\r", 2},
        {"depth without END", "T\r\n~DEPTH\r\nDEPT", 1},
        {"section line last", "T\r\n~APX", 0},
    };
    for (const auto& c : cases) {
        const auto d = LoadText(c.text);
        EXPECT_EQ(d->Entries().size(), c.entries) << c.name;
        if (!d->Entries().empty() && d->Entries()[0]->m_toolName == "Apx") {
            EXPECT_EQ(d->Entries()[0]->m_waveName, "C") << c.name;
        }
    }
    for (const std::string lineEnd : {"\r\n", "\n", "\r"}) {
        const auto d = LoadText(LisDictionaryBuilder("T", lineEnd).Depth({"DEPT", "TDEP"}).Text());
        ASSERT_EQ(d->Entries().size(), 1u);
        ExpectEntry(*d->Entries()[0], {.tool = "DepthMnemonics", .count = 2, .wave = {"DEPT", "TDEP"}});
    }
}

TEST(LisDictionaryLoad, FindToolAppendsExactCaseSensitiveMatchesInOrder)
{
    LisDictionaryBuilder b;
    b.Section("~MAC/XMAC", {{"M1", "", "", "W1", "L1"}, {"M2", "", "", "W2", "L2"}});
    b.Section("~APX", {{"A1", "", "W", "L"}});
    b.Section("~MAC/XMAC", {{"M3", "", "", "W3", "L3"}});
    const auto d = Load(b);

    struct Case {
        const char* tool;
        std::vector<std::string> labels; // of the entries found, "" for a section's closing entry
    };
    const Case cases[] = {
        {"Xmac", {"L1", "L2", "", "L3", ""}},
        {"Apx", {"L", ""}},
        {"XMAC", {}},
        {"MAC", {}},
        {"xmac", {}},
        {"", {}},
    };
    for (const Case& c : cases) {
        std::vector<CLisDictionaryEntry*> found{nullptr}; // prefilled: results are appended
        EXPECT_EQ(d->FindTool(found, c.tool), c.labels.empty() ? 0 : 1) << c.tool;
        ASSERT_EQ(found.size(), c.labels.size() + 1) << c.tool;
        EXPECT_EQ(found[0], nullptr);
        for (size_t i = 0; i < c.labels.size(); ++i) {
            EXPECT_EQ(found[i + 1]->m_toolName, c.tool);
            EXPECT_EQ(found[i + 1]->m_itemLabel, c.labels[i]) << c.tool << " " << i;
        }
    }
}

TEST(LisDictionaryLoad, HostileFilesNeverReadPastTheText)
{
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
    };
    std::vector<uint8_t> noise(65536);
    uint32_t seed = 12345;
    for (uint8_t& b : noise) b = uint8_t((seed = seed * 1103515245u + 12345u) >> 16);
    const auto stored = [](const std::string& text) { return LisDictionaryBuilder::Scramble(text); };
    std::string manyFields = "T\r\n~WAVESONIC\r\n" + std::string(89, ':') + "\r\n";
    std::string sectionsOnly = "T\r\n";
    for (int i = 0; i < 2000; ++i) sectionsOnly += "~BAT\r\n";
    const Case cases[] = {
        {"empty", {}},
        {"one byte", {'~'}},
        {"lone CR", {'\r'}},
        {"only line ends", std::vector<uint8_t>(1000, '\n')},
        {"noise", noise},
        {"NUL bytes in a record", stored(std::string("T\r\n~APX\r\nA\0B:C\r\nEND::\r\n", 22))},
        {"89 colons", stored(manyFields)},
        {"nested section lines", stored(sectionsOnly)},
        {"long line at the end", stored("T\r\n~DSI\r\n" + std::string(5000, 'Z'))},
    };
    for (const Case& c : cases) {
        auto bytes = std::make_shared<std::vector<uint8_t>>(c.bytes);
        BinaryFile file;
        file.OpenMemory(bytes, false);
        CLisDictionary d;
        EXPECT_EQ(d.Load(file), 1) << c.name;
        for (const auto& e : d.Entries()) EXPECT_LE(e->m_mnemonicCount, lisdic::kListSize) << c.name;
    }
}

TEST(LisDictionaryLoad, MissingOversizedOrUnreadableFilesAreRefusedAndALoadHappensOnce)
{
    TempDir dir;
    CLisDictionary d;
    EXPECT_EQ(d.Load(dir.Path()), 0);
    EXPECT_FALSE(d.IsLoaded());

    auto huge = std::make_shared<std::vector<uint8_t>>(size_t(lisdic::kMaxFileBytes) + 1, uint8_t('\n'));
    BinaryFile file;
    file.OpenMemory(huge, false);
    CLisDictionary oversized;
    EXPECT_EQ(oversized.Load(file), 0);
    EXPECT_TRUE(oversized.Entries().empty());
    BinaryFile closed;
    EXPECT_EQ(CLisDictionary().Load(closed), 0);

    ASSERT_TRUE(LisDictionaryBuilder().Depth({"DEPT"}).WriteDit(dir.Path()));
    ASSERT_EQ(d.Load(dir.Path()), 1);
    // A second call neither reads again nor needs the file.
    std::filesystem::remove(dir.File("LisDic.dit"));
    EXPECT_EQ(d.Load(dir.Path()), 1);
    EXPECT_EQ(d.Entries().size(), 1u);
}

// Every record line makes an entry of about 2 KB, however short the line: a file of
// millions of "X" lines took gigabytes before the entries were counted. The limit is
// kept whole and one entry more refuses the file, its entries dropped.
TEST(LisDictionaryLoad, MoreEntriesThanTheLimitRefuseTheFile)
{
    for (const size_t records : {lisdic::kMaxEntries, lisdic::kMaxEntries + 1, size_t(200000)}) {
        std::string text = "Tools\n\n~APX\n";
        for (size_t k = 0; k < records; ++k) text += "X\n";
        auto bytes = std::make_shared<std::vector<uint8_t>>(LisDictionaryBuilder::Scramble(text));
        BinaryFile file;
        file.OpenMemory(bytes, false);
        CLisDictionary d;
        const bool fits = records <= lisdic::kMaxEntries;
        EXPECT_EQ(d.Load(file), fits ? 1 : 0) << records;
        EXPECT_EQ(d.IsLoaded(), fits) << records;
        EXPECT_EQ(d.Entries().size(), fits ? records : 0u) << records;
    }
}

class LisDictionaryImportTest : public HostTest {
protected:
    TempDir dir;
    std::string source = dir.File("dictionary.txt");
    std::string dit = dir.File("LisDic.dit");
};

TEST_F(LisDictionaryImportTest, StoresTheTextScrambledAndLoadsItBack)
{
    for (const std::string lineEnd : {"\r\n", "\n\n", "\n", "\r"}) {
        LisDictionaryBuilder b("Tool dictionary", lineEnd);
        b.Depth({"DEPT", "DEPTH"}).Section("~DSI", {Numbered("S", 8), Numbered("P", 5)});
        ASSERT_TRUE(b.WriteText(source));
        host.ExpectFileDialog("Dictionary File to Import", source);
        EXPECT_TRUE(OkOrShow(CLisDictionary().Import(dir.Path())));
        EXPECT_EQ(ReadBytes(dit), b.Dit());
        CLisDictionary d;
        ASSERT_EQ(d.Load(dir.Path()), 1);
        EXPECT_EQ(d.Entries().size(), 4u);
    }
    const FileDialogOptions& o = host.FileDialogs()[0].options;
    EXPECT_TRUE(o.open);
    EXPECT_EQ(o.filter, "Dictionary Text(.txt)|*.txt|All files(*.*)|*.*|");
    EXPECT_TRUE(host.Messages().empty()) << "the command, not the importer, tells of the success";

    // LF-only text keeps its first two lines plain.
    const std::string text = "Title\n~DEPTH\nDEPT\nEND::\n";
    std::vector<uint8_t> stored(text.begin(), text.end());
    lisdic::Scramble(stored);
    EXPECT_EQ(std::string(stored.begin(), stored.begin() + 13), "Title\n~DEPTH\n");
    EXPECT_EQ(stored[13], uint8_t('D' ^ 0x6D));
}

// Text the loader reads no entry from (a file picked by mistake, a section without
// records) is refused before anything is written: the old dictionary stays.
TEST_F(LisDictionaryImportTest, TextWithoutADictionaryEntryIsRefused)
{
    const std::vector<uint8_t> old = LisDictionaryBuilder().Depth({"DEPT"}).Dit();
    WriteBytes(dit, old);
    const std::pair<const char*, std::string> cases[] = {
        {"a short note", "hi\n"},
        {"an empty file", ""},
        {"a title alone", "Tool dictionary\r\n"},
        {"unknown sections only", LisDictionaryBuilder().Section("~NOSUCH", {{"A", "B"}}).Text()},
        {"a section without records, LF only", LisDictionaryBuilder("T", "\n").Line("~APX").Text()},
    };
    for (const auto& [what, text] : cases) {
        WriteBytes(source, std::vector<uint8_t>(text.begin(), text.end()));
        host.ExpectFileDialog("Dictionary File to Import", source);
        host.ExpectMessage("Encountered no dictionary entry in file :\n" + source + "\nOperation will be abandoned.");
        EXPECT_FALSE(OkOrShow(CLisDictionary().Import(dir.Path()))) << what;
        EXPECT_EQ(ReadBytes(dit), old) << what;
        EXPECT_EQ(PartialOutputsIn(dir.Path()), std::vector<std::string>()) << what;
    }
    for (const auto& m : host.Messages()) EXPECT_EQ(m.type, unsigned(MB_OK | MB_ICONSTOP));
}

TEST_F(LisDictionaryImportTest, TextOfMoreEntriesThanTheLimitIsRefused)
{
    const std::vector<uint8_t> old = LisDictionaryBuilder().Depth({"DEPT"}).Dit();
    WriteBytes(dit, old);
    std::string text = "Tools\r\n~DSI\r\n";
    for (size_t k = 0; k <= lisdic::kMaxEntries; ++k) text += "X:Y\r\n";
    WriteBytes(source, std::vector<uint8_t>(text.begin(), text.end()));
    host.ExpectFileDialog("Dictionary File to Import", source);
    host.ExpectMessage("Encountered more than 16384 dictionary entries in file :\n" + source +
                       "\nOperation will be abandoned.");
    EXPECT_FALSE(OkOrShow(CLisDictionary().Import(dir.Path())));
    EXPECT_EQ(ReadBytes(dit), old);
}

// Keeps the file size limit of the process below `bytes` while it lives: a write past
// it fails as on a full disk.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        m_handler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_saved;
        limit.rlim_cur = bytes;
        m_ok = setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_handler);
    }
    bool Ok() const { return m_ok; }

private:
    rlimit m_saved {};
    void (*m_handler)(int) = nullptr;
    bool m_ok = false;
};

TEST_F(LisDictionaryImportTest, FailuresAreReportedAndKeepTheOldDictionaryWhole)
{
    const std::vector<uint8_t> old = LisDictionaryBuilder().Depth({"DEPT"}).Dit();
    WriteBytes(dit, old);
    // Large enough to meet the size limit below.
    ASSERT_TRUE(LisDictionaryBuilder().Section("~APX", std::vector(2000, Numbered("A", 4))).WriteText(source));

    host.ExpectFileDialog("Dictionary File to Import", ""); // cancelled: no message
    EXPECT_FALSE(OkOrShow(CLisDictionary().Import(dir.Path())));

    host.ExpectFileDialog("Dictionary File to Import", dir.File("missing.txt"));
    host.ExpectMessage("Could not open input file :\n" + dir.File("missing.txt"));
    EXPECT_FALSE(OkOrShow(CLisDictionary().Import(dir.Path())));

    // The dictionary itself, by another spelling: importing it would unscramble it.
    const std::string itself = dir.Path() + "/./LisDic.dit";
    host.ExpectFileDialog("Dictionary File to Import", itself);
    host.ExpectMessage("Output file is the same as input file :\n" + itself + "\nOperation will be abandoned.");
    EXPECT_FALSE(OkOrShow(CLisDictionary().Import(dir.Path())));

    host.ExpectFileDialog("Dictionary File to Import", source);
    host.ExpectMessage("Could not open output file :\n" + dir.File("no/such/folder") + "/LisDic.dit");
    EXPECT_FALSE(OkOrShow(CLisDictionary().Import(dir.File("no/such/folder"))));

    {
        FileSizeLimit full(4096);
        ASSERT_TRUE(full.Ok());
        host.ExpectFileDialog("Dictionary File to Import", source);
        host.ExpectMessage("Error writing dictionary in file :\n" + dit);
        EXPECT_FALSE(OkOrShow(CLisDictionary().Import(dir.Path())));
    }

    EXPECT_EQ(ReadBytes(dit), old);
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir.Path())) names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"LisDic.dit", "dictionary.txt"})) << "no partial file";
    for (const auto& m : host.Messages()) EXPECT_EQ(m.type, unsigned(MB_OK | MB_ICONSTOP)) << m.text;
}

class DictionaryCommandTest : public AppTest {
protected:
    TempDir startup;
    TempDir elsewhere;
    void SetUp() override
    {
        AppTest::SetUp();
        const char* was = std::getenv("XDG_DATA_HOME");
        if (was) savedDataHome = was;
        hadDataHome = was != nullptr;
        setenv("XDG_DATA_HOME", data.Path().c_str(), 1);
    }
    void TearDown() override
    {
        if (hadDataHome) setenv("XDG_DATA_HOME", savedDataHome.c_str(), 1);
        else unsetenv("XDG_DATA_HOME");
        AppTest::TearDown();
    }
    TempDir data;
    // Not made yet: the program makes it when it writes there.
    const std::string userFolder = data.File("Merrowdyne Revezirider/BronteluxViewer");
    std::string savedDataHome;
    bool hadDataHome = false;
};

TEST_F(DictionaryCommandTest, ImportsIntoTheUsersDataFolderOrEndsQuietlyOnCancel)
{
    host.currentDirectory = startup.Path();
    Start();
    EXPECT_EQ(theViewerApp.m_dataDir, userFolder);
    host.currentDirectory = elsewhere.Path(); // neither the current folder nor the start-up one counts

    host.ExpectFileDialog("Dictionary File to Import", "");
    EXPECT_TRUE(theViewerApp.OnCommand(ID_DICTIONARY));
    EXPECT_TRUE(host.Messages().empty());
    EXPECT_FALSE(std::filesystem::exists(JoinPath(userFolder, "LisDic.dit")));

    LisDictionaryBuilder b;
    b.Section("~BAT", {Numbered("B", 9)});
    ASSERT_TRUE(b.WriteText(elsewhere.File("tools.txt")));
    host.ExpectFileDialog("Dictionary File to Import", elsewhere.File("tools.txt"));
    host.ExpectMessage("Dictionary Importation Complete!");
    EXPECT_TRUE(theViewerApp.OnCommand(ID_DICTIONARY));
    EXPECT_EQ(ReadBytes(JoinPath(userFolder, "LisDic.dit")), b.Dit()) << "the folder was made for it";
    EXPECT_EQ(frame.PaneText(0), "Dictionary done: wrote " + JoinPath(userFolder, "LisDic.dit"));
    EXPECT_FALSE(std::filesystem::exists(elsewhere.File("LisDic.dit")));
    EXPECT_FALSE(std::filesystem::exists(startup.File("LisDic.dit")));

    // A folder that cannot be made: a message, and no file dialog.
    WriteBytes(data.File("plain"), {1});
    theViewerApp.m_dataDir = data.File("plain/Program");
    host.ExpectMessage("Could not create the folder of the tool dictionary :\n" + theViewerApp.m_dataDir);
    EXPECT_TRUE(theViewerApp.OnCommand(ID_DICTIONARY));
    EXPECT_TRUE(host.PendingExpectations().empty());
}

// A dictionary folder that cannot be made is refused with its cause before anything is
// asked: Process > Dictionary before its text, Lis to Qtx before its file, for a new user
// with no dictionary as for one whose earlier run left one to take over. Nothing is written.
TEST_F(DictionaryCommandTest, AFolderThatCannotBeMadeIsRefusedWithItsCause)
{
    LisDictionaryBuilder old;
    old.Section("~BAT", {Numbered("B", 9)});
    host.currentDirectory = startup.Path();
    Start();
    WriteBytes(data.File("plain"), {1});
    const std::string plain = data.File("plain");
    const struct {
        std::string folder;
        std::string cause;
    } cases[] = {
        {plain + "/Program", "A part of the path before the name is a file, not a folder."},
        {plain + "/Merrowdyne Revezirider/BronteluxViewer", "A part of the path before the name is a file, not a folder."},
        {plain, plain + " is a file, not a folder."},
        {data.File(std::string(300, 'n')) + "/BronteluxViewer", "The name is too long for its folder."},
    };
    for (const bool older : {false, true}) {
        if (older) {
            ASSERT_TRUE(old.WriteDit(startup.Path()));
        }
        for (const auto& c : cases) {
            theViewerApp.m_dataDir = c.folder;
            const std::string refusal = "Could not create the folder of the tool dictionary :\n" + c.folder + "\n" + c.cause;
            for (const int command : {ID_DICTIONARY, ID_LIS_TO_QTX}) {
                host.ExpectMessage(refusal);
                EXPECT_TRUE(theViewerApp.OnCommand(command));
                EXPECT_TRUE(host.PendingExpectations().empty()) << c.folder << (older ? " older" : " new user");
                EXPECT_EQ(host.Messages().back().text, refusal) << "nothing after the box";
                EXPECT_EQ(ReadBytes(plain), std::vector<uint8_t>{1});
            }
        }
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(data.Path())) names.push_back(e.path().filename());
        EXPECT_EQ(names, std::vector<std::string>{"plain"}) << "nothing written";
    }
    EXPECT_EQ(ReadBytes(startup.File("LisDic.dit")), old.Dit());

    // A folder that can be made is, and the new user is asked for the file.
    std::filesystem::remove(startup.File("LisDic.dit"));
    theViewerApp.m_dataDir = userFolder;
    host.ExpectFileDialog("Browse Input File", "");
    EXPECT_TRUE(theViewerApp.OnCommand(ID_LIS_TO_QTX));
    EXPECT_TRUE(host.PendingExpectations().empty());
    EXPECT_TRUE(std::filesystem::is_directory(userFolder));
}

// Lis to QTX reads the dictionary from the user's folder; one that an earlier run left
// in the start-up folder is copied there once, with a word, and never over one the
// user's folder already has.
TEST_F(DictionaryCommandTest, LisToQtxTakesOverADictionaryLeftInTheStartUpFolderOnce)
{
    LisDictionaryBuilder old;
    old.Section("~BAT", {Numbered("B", 9)});
    ASSERT_TRUE(old.WriteDit(startup.Path()));
    host.currentDirectory = startup.Path();
    Start();
    const std::string kept = JoinPath(userFolder, "LisDic.dit");

    host.ExpectMessage("The tool dictionary of an earlier run was copied from :\n" + startup.File("LisDic.dit")
                       + "\nto :\n" + kept + "\n");
    host.ExpectFileDialog("Browse Input File", "");
    EXPECT_TRUE(theViewerApp.OnCommand(ID_LIS_TO_QTX));
    EXPECT_EQ(ReadBytes(kept), old.Dit());
    EXPECT_EQ(ReadBytes(startup.File("LisDic.dit")), old.Dit()) << "the old one stays for older versions";
    EXPECT_FALSE(std::filesystem::exists(kept + ".tmp"));

    LisDictionaryBuilder newer;
    newer.Section("~BAT", {Numbered("C", 9)});
    ASSERT_TRUE(newer.WriteDit(userFolder));
    host.ExpectFileDialog("Browse Input File", "");
    EXPECT_TRUE(theViewerApp.OnCommand(ID_LIS_TO_QTX));
    EXPECT_EQ(ReadBytes(kept), newer.Dit()) << "the user's own dictionary is never replaced";
    EXPECT_EQ(host.Messages().size(), 1u) << "taken over once";
    EXPECT_TRUE(host.PendingExpectations().empty());
}
