// CQtxCommand: the log command file, which keeps a whole log layout: the page
// settings of the Log Setup dialog and the plot list (layout in LogCommandLayout.h).
// It also re-bases the items' data-set paths onto another folder.
#pragma once

#include "plot/LogPlotItem.h"
#include "settings/LogSetupGroup.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class BinaryFile;

// The page settings a command file stores. The background colour and the header
// text are not stored.
struct LogCommandPage {
    float depthScale = 0.0f;
    std::array<float, kTrackCount> trackWidth{};
    int16_t depthTrackOn = 0;
    int16_t depthTrackOff = 0;
    int16_t english = 0;
    int16_t metric = 0;
    bool operator==(const LogCommandPage&) const = default;
};

LogCommandPage PageOf(const LogSetupGroup& setup);
void SetPage(LogSetupGroup& setup, const LogCommandPage& page);

// What the Log Setup dialog accepts of a page.
namespace log_page {
inline constexpr float kMinDepthScale = 100.0f;
inline constexpr float kMaxDepthScale = 2500.0f;
inline constexpr float kMinTrackWidth = 0.0f;
inline constexpr float kMaxCombinedWidth = 24.0f; // inches, over the first kCombinedTracks tracks
inline constexpr int kCombinedTracks = 8;
} // namespace log_page

// True when the Log Setup dialog would take the page as it is.
bool PageFitsDialog(const LogCommandPage& page);
// Which value of the page the dialog would refuse, as a sentence; empty when none.
std::string PageFault(const LogCommandPage& page);

class CQtxCommand {
public:
    enum class Decoded { Ok, ReadError, PageOutOfRange };

    // As the rest of the log plot, these show their own message and say whether they
    // succeeded.
    //
    // Writes the page and every item of the list, enabled or not. False after a
    // message: the path is one of the items' data sets, a text is longer than 255
    // characters (nothing is written then), the file cannot be created, or a write
    // failed.
    [[nodiscard]] bool Write(const PlotItemList& items, const LogCommandPage& page, const std::string& path);
    // Replaces the list and the page with the file's. False after a message naming
    // the refused field and its value, leaving both untouched: the file cannot be
    // opened, is short or malformed, holds an item whose depth range is reversed, or
    // holds page values the Log Setup dialog would refuse.
    [[nodiscard]] bool Read(PlotItemList& items, LogCommandPage& page, const std::string& path);
    // Gives every item the path folder + title + "." + extension, the folder being
    // `commandPath` up to its last separator ('/' or '\'); a path without one changes
    // nothing. It cannot fail.
    static void RebaseItemPaths(PlotItemList& items, const std::string& commandPath);

    // The file's bytes. False, with `out` untouched, when a stored text is longer
    // than 255 characters or the list holds more items than the count can say.
    static bool Encode(const PlotItemList& items, const LogCommandPage& page, std::vector<uint8_t>& out);
    // Reads a whole command file from the start of `file` (its position is left
    // after the last record read). Loaded items are enabled, with empty unit labels.
    // An item whose start depth is not less than its stop depth is refused (a
    // ReadError). On any result but Ok, `items` and `page` are untouched and
    // `*fault`, when given, names the field and value that were refused.
    static Decoded Decode(BinaryFile& file, PlotItemList& items, LogCommandPage& page,
                          std::string* fault = nullptr);
};
