// The file side that the processing setup dialogs share: which inputs changed since
// the last pick (the depth range and datums of a picked data set are read by the
// steps all setups share).
#pragma once

#include "common/SetupSteps.h"
#include "dataset/QtxFile.h"
#include "settings/ProcessingSetupGroups.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

class CDialog;
class ControlState;

// A file of one kind (input or a profile) was picked at `path`; `previousPath` is
// what that kind held before. Forced, the kind counts as changed. Otherwise a size
// other than the last seen one (which it then takes) or another path is a change.
void NoteInputChange(uint32_t& changed, uint32_t& lastSize, bool force, const std::string& path,
                     const std::string& previousPath);

// Shows `depth` in edit `id` of `dlg` as the setups show depths ("%10.4f"): left as
// shown, the edit gives back every digit of it, not the four decimals it shows.
void ShowDepth(CDialog& dlg, int id, double depth);

// Reads the data set at `path` into the curve list `curves`: its depth range as stored
// and a listed flag per trace datum, whose mnemonics fill `box` (when there is one).
// One listed and one selected flag per datum: a data set with more datums is refused,
// with a message naming it `what`, rather than listed in part. False, with the outputs
// untouched, when it cannot be read or is refused.
bool ReadTraceCurves(const std::string& path, const char* what, ControlState* box, double& top, double& bottom,
                     ProfileCurveList& curves);

// The input and profile data sets of the filter and picking setups, whose groups
// name their fields alike.
enum class SetupInput { Input, Frequency, Time, Slowness };

// One of them in a group: the host dialog's caption, the label before its path, the
// group's fields and its change bookkeeping.
struct PickedInput {
    const char* caption;
    const char* label;
    std::string& path;
    std::string& name;
    std::string& ext;
    uint32_t& changed;
    uint32_t& lastSize;
};

template <typename Group> PickedInput InputOf(Group& s, InputChangeBookkeeping& c, SetupInput which)
{
    switch (which) {
    case SetupInput::Input:
        return {"Browse Input QTX File", "Input File : ", s.inputPath, s.inputName, s.inputExt, c.inputChanged,
                c.inputSize};
    case SetupInput::Frequency:
        return {"Browse Frequency Profile", "Profile : ", s.frequencyProfilePath, s.frequencyProfileName,
                s.frequencyProfileExt, c.frequencyProfileChanged, c.frequencyProfileSize};
    case SetupInput::Time:
        return {"Browse Time Profile", "Profile : ", s.timeProfilePath, s.timeProfileName, s.timeProfileExt,
                c.timeProfileChanged, c.timeProfileSize};
    case SetupInput::Slowness: break;
    }
    return {"Browse Slowness Profile", "Profile : ", s.slownessProfilePath, s.slownessProfileName,
            s.slownessProfileExt, c.slownessProfileChanged, c.slownessProfileSize};
}

// Picks `input` with the host's open dialog, starting from the one the group holds: on
// a choice its path, name (the path's file name) and extension follow, the change is
// noted (see NoteInputChange), `labelId` of `dlg` shows it and `title` takes the
// host's file title. False on Cancel, nothing changed.
bool PickInput(CDialog& dlg, int labelId, const PickedInput& input, bool force, std::string& title);

// PickInput for the group `setup` of a filter or picking setup, whose copy of the
// bookkeeping then follows `changes`.
template <typename Group>
bool PickSetupInput(CDialog& dlg, Group& setup, InputChangeBookkeeping& changes, SetupInput which, int labelId,
                    std::string& title)
{
    if (!PickInput(dlg, labelId, InputOf(setup, changes, which), setup.forceInputs != 0, title)) return false;
    setup.changes = changes;
    return true;
}

// Force Inputs set: every input and profile of the group counts as changed.
template <typename Group> void ForceAllInputs(Group& setup, InputChangeBookkeeping& changes)
{
    changes.inputChanged = changes.timeProfileChanged = changes.frequencyProfileChanged =
        changes.slownessProfileChanged = 1;
    setup.changes = changes;
}

// Picks a profile as PickSetupInput does and reads its datum list. False on Cancel or
// when the list cannot be read (the pick stands).
template <typename Group>
bool PickProfile(CDialog& dlg, Group& setup, InputChangeBookkeeping& changes, SetupInput which, int labelId,
                 CQtxDatumList& datums)
{
    std::string title;
    if (!PickSetupInput(dlg, setup, changes, which, labelId, title)) return false;
    CQtxFile file;
    if (!OkOrShow(file.OpenRead(InputOf(setup, changes, which).path)) || !OkOrShow(file.ReadDatumList(datums)))
        return false;
    file.CloseInput();
    return true;
}
