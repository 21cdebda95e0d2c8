// The steps the setup dialogs of several subsystems take alike: the choice of a QTX
// input or an output file, the reading of an input's depth range and datums, the
// slowness window its datums suggest, and the chores of their lists and check boxes.
#pragma once

#include "common/BrowseFile.h"
#include "common/PathLabel.h"
#include "dataset/QtxFile.h"
#include "platform/Dialog.h"
#include "settings/SlownessUnit.h"
#include "settings/WaveStyle.h"

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <utility>

// The input step: the host's open dialog `caption` for a QTX file, starting from `path`
// with `title` as its file name. On a choice `path`, `title` and `ext` take the host's
// answer, `labelId` of `dlg` shows `label` + path and it returns true; Cancel changes
// nothing and returns false.
bool ChooseQtxInput(CDialog& dlg, int labelId, std::string& path, std::string& title, std::string& ext,
                    PathLabelLimits limits = kWidePathLabel, const char* label = "Input File : ",
                    const char* caption = "Browse Input QTX File");
// The same for a group that keeps the input's path, file name (what the host's dialog
// starts from; after a choice the path's last part), title and extension.
struct InputFile {
    std::string& path;
    std::string& name;
    std::string& title;
    std::string& ext;
};
bool ChooseQtxInput(CDialog& dlg, int labelId, const InputFile& file, PathLabelLimits limits = kWidePathLabel,
                    const char* label = "Input File : ", const char* caption = "Browse Input QTX File");
// The input fields of a group that names them inputPath, inputName, inputTitle and
// inputExt.
template <typename Group> InputFile InputFileOf(Group& group)
{
    return {group.inputPath, group.inputName, group.inputTitle, group.inputExt};
}

// Where a group keeps a chosen file: path, the name the host's dialog starts from, and
// extension.
struct ChosenFile {
    std::string& path;
    std::string& name;
    std::string& ext;
};
// The output step: the host's save dialog `caption`, starting from `file`. On a choice
// `file` takes the host's path, title and extension, `labelId` shows `label` + path and
// it returns true; Cancel changes nothing and returns false.
bool ChooseOutputFile(CDialog& dlg, int labelId, const char* caption, const char* label, const ChosenFile& file,
                      PathLabelLimits limits = kWidePathLabel);

// Reads the depth range of an open data set (exchanged so that top <= bottom when
// `ordered`) and its datum list, then closes it. False, with the outputs untouched,
// when a depth is -1.0 or the list cannot be read (the reader reports the latter).
bool ReadDepthsAndDatums(CQtxFile& file, double& top, double& bottom, CQtxDatumList& datums, bool ordered = true);

// What the input step reads of the chosen data set.
struct QtxInputRead {
    double top = 0.0, bottom = 0.0; // top <= bottom
    CQtxDatumList datums;
};
// Opens the data set at `path` and reads it as ReadDepthsAndDatums does (ordered).
// False, with `read` untouched, when it cannot be opened or read: a file whose
// descriptors cannot be read leaves the depths shown as they were.
bool ReadQtxInput(const std::string& path, QtxInputRead& read);
// The depth range read goes to the group's `top` and `bottom` and to the edits
// `topId` and `bottomId` in the data exchange's format.
void TakeDepthRange(CDialog& dlg, const QtxInputRead& read, int topId, double& top, int bottomId, double& bottom);

// The slowness unit of a datum's unit code (feet for any code but uSec/m).
SlownessUnit SlownessUnitOfCode(int unitCode);
// The slowness window a data set's datums suggest: the last slowness datum's unit
// decides the unit and window (100 to 600 uSec/m, or 40 to 240 uSec/ft). False,
// with `window` untouched, when no datum is a slowness.
struct SlownessWindow {
    SlownessUnit unit = SlownessUnit::kUnset;
    float min = 0.0f, max = 0.0f;
};
bool SuggestSlownessWindow(const CQtxDatumList& datums, SlownessWindow& window);
// The suggested window goes to the group's fields, the caption its unit makes to the
// group box `groupId`, and the range to the edits `minId` and `maxId` in the data
// exchange's format; nothing changes without a slowness datum.
struct SlownessFields {
    int groupId, minId, maxId;
    SlownessUnit& unit;
    float& min;
    float& max;
};
void TakeSlownessWindow(CDialog& dlg, const CQtxDatumList& datums, const SlownessFields& fields);

// Fills the list `box` with `entries` in order; nothing without a box.
template <size_t N> void FillList(ControlState* box, const char* const (&entries)[N])
{
    if (!box) return;
    box->ResetContent();
    for (const char* entry : entries) box->AddString(entry);
}
// The text of the selected line of `box`; empty without one.
std::string SelectedText(const ControlState* box);
// The lines of `list` are the datums flagged in `listed` (of the first `count`), in
// order: each of them takes as its selected flag whether its line is selected now.
// What the list shows selected is what the setup hands on; without a list none is.
template <typename Flags> void TakeListedSelection(const ControlState* list, const Flags& listed, Flags& selected, int count)
{
    const int datums = count < 0 ? 0 : count < int(listed.size()) ? count : int(listed.size());
    for (int i = 0, line = 0; i < datums; ++i) {
        if (!listed[size_t(i)]) continue;
        selected[size_t(i)] = list && list->IsSelected(line) ? 1 : 0;
        ++line;
    }
}

// The presentation pair of the viewer setups: the colour list serves wiggles
// (Signature), the palette the image.
void EnableColourOrPalette(CDialog& dlg, WaveStyle style, int colourId, int paletteId);
// A check box's click flips its flag and the mark follows.
template <typename Flag> void ToggleCheck(CDialog& dlg, int id, Flag& flag)
{
    flag = flag ? 0 : 1;
    if (ControlState* box = dlg.Item(id)) box->SetCheck(int(flag));
}
// A radio pair whose flags the group keeps: `first` sets the first flag and clears the
// other, and the marks follow.
void SetRadioPair(CDialog& dlg, uint16_t& a, uint16_t& b, bool first, int idA, int idB);
// A radio set of (id, flag) buttons: the one at `which` (from 0) is set, the others
// cleared, and the marks follow.
void SetRadioSet(CDialog& dlg, std::initializer_list<std::pair<int, uint16_t*>> buttons, int which);
