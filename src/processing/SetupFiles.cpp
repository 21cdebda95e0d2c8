#include "processing/SetupFiles.h"

#include "platform/Controls.h"
#include "platform/Dialog.h"
#include "platform/Format.h"
#include "platform/Host.h"
#include "settings/ProcessingSetupGroups.h"

#include <filesystem>
#include <limits>
#include <system_error>

void NoteInputChange(uint32_t& changed, uint32_t& lastSize, bool force, const std::string& path,
                     const std::string& previousPath)
{
    if (force) {
        changed = 1;
        return;
    }
    std::error_code error;
    const uintmax_t bytes = std::filesystem::file_size(path, error);
    // The size is kept in 32 bits: a larger file counts by its low bits, as it always did.
    const uint32_t size = error ? 0u : uint32_t(bytes & std::numeric_limits<uint32_t>::max());
    if (size != lastSize) {
        lastSize = size;
        changed = 1;
        return;
    }
    changed = path != previousPath ? 1 : 0;
}

void ShowDepth(CDialog& dlg, int id, double depth) { dlg.SetItemNumber(id, depth, "%10.4f"); }

bool ReadTraceCurves(const std::string& path, const char* what, ControlState* box, double& top, double& bottom,
                     ProfileCurveList& curves)
{
    CQtxFile file;
    if (!OkOrShow(file.OpenRead(path))) return false;
    double t = 0.0, b = 0.0;
    CQtxDatumList datums;
    if (!ReadDepthsAndDatums(file, t, b, datums, false)) return false;
    if (datums.size() > curves.listed.size()) {
        MessageBox(Format("The %s has %d datums; at most %d can be listed.", what, int(datums.size()),
                          int(curves.listed.size())),
                   MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    top = t, bottom = b;
    curves.listed.fill(0), curves.selected.fill(0);
    if (box) box->ResetContent();
    for (size_t i = 0; i < datums.size(); ++i) {
        if (datums[i]->m_category != kCategoryTrace) continue;
        if (box) box->AddString(datums[i]->m_mnemonic);
        curves.listed[i] = 1;
    }
    curves.itemCount = int32_t(datums.size());
    return true;
}

bool PickInput(CDialog& dlg, int labelId, const PickedInput& input, bool force, std::string& title)
{
    const std::string previous = input.path;
    if (!ChooseQtxInput(dlg, labelId, {input.path, input.name, title, input.ext}, kNarrowPathLabel, input.label,
                        input.caption))
        return false;
    NoteInputChange(input.changed, input.lastSize, force, input.path, previous);
    return true;
}
