// Builder of tool dictionaries for tests: the text as users write it and the
// importer reads it, and the scrambled "LisDic.dit" the loader reads. It scrambles
// on its own, independent of the code it checks.
//
//   LisDictionaryBuilder b;                         // title line, CR LF line ends
//   b.Depth({"DEPT", "DEPTH"})
//    .Section("~BAT", {{"R1", "R2", "R3", "R4", "R5", "R6", "R7", "WFBAT", "BATHFF"}});
//   b.WriteDit(dir.Path());                         // dir/LisDic.dit
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class LisDictionaryBuilder {
public:
    // `title` is the first line; `lineEnd` ends every line ("\r\n" or "\n").
    explicit LisDictionaryBuilder(std::string title = "BronteluxViewer tool dictionary",
                                  std::string lineEnd = "\r\n");

    // One line as written (no line end in `text`).
    LisDictionaryBuilder& Line(const std::string& text);
    // "~DEPTH", one line per mnemonic, "END::".
    LisDictionaryBuilder& Depth(const std::vector<std::string>& mnemonics);
    // `name` (e.g. "~BAT"), one line per record with its fields joined by ':', "END::".
    LisDictionaryBuilder& Section(const std::string& name, const std::vector<std::vector<std::string>>& records);

    const std::string& Text() const { return m_text; }
    std::vector<uint8_t> Dit() const { return Scramble(m_text); }

    // Writes the text to `path` / the scrambled file to `directory`/LisDic.dit.
    bool WriteText(const std::string& path) const;
    bool WriteDit(const std::string& directory) const;

    // The dictionary logs of known truth are converted with: depth DEPT, one Dsi and one
    // QTX record, written to `directory`/LisDic.dit.
    static bool WriteTruthDit(const std::string& directory);

    static std::string Join(const std::vector<std::string>& fields);
    // The stored form of a text: plain through its second CR or LF, the rest XORed with 0x6D.
    static std::vector<uint8_t> Scramble(const std::string& text);

private:
    std::string m_lineEnd;
    std::string m_text;
};
