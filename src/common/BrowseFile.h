// The file choice of a setup dialog: the host's open or save dialog, starting from
// the file chosen last, whose path, title and extension the dialog's group keeps.
#pragma once

#include <string>

enum class Browse { Open, Save };

// The filter of every QTX file choice.
inline constexpr const char* kQtxFilter = "Qtx Data (*.qtx)|*.qtx|All Files (*.*)|*.*||";

// On a choice writes `path`, `title` and `ext` (as the host gives them) and returns
// true; on Cancel changes nothing and returns false. An open dialog asks for an
// existing file, a save dialog confirms an overwrite. The path alone says whether a
// file was chosen: a file without extension is a choice too. A non-empty `folder` is
// where the dialog starts, with `title` as its file name; else the working folder.
bool BrowseFile(Browse mode, const std::string& caption, const std::string& filter, std::string& path,
                std::string& title, std::string& ext, const std::string& folder = std::string());
