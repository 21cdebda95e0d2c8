#include "common/SetupSteps.h"

#include "platform/Format.h"
#include "platform/Host.h"
#include "platform/Path.h"

#include <cmath>
#include <utility>

bool ChooseQtxInput(CDialog& dlg, int labelId, std::string& path, std::string& title, std::string& ext,
                    PathLabelLimits limits, const char* label, const char* caption)
{
    if (!BrowseFile(Browse::Open, caption, kQtxFilter, path, title, ext)) return false;
    dlg.SetItemText(labelId, ShortenPath(label, path, limits));
    return true;
}

bool ChooseQtxInput(CDialog& dlg, int labelId, const InputFile& file, PathLabelLimits limits, const char* label,
                    const char* caption)
{
    std::string title = file.name;
    if (!ChooseQtxInput(dlg, labelId, file.path, title, file.ext, limits, label, caption)) return false;
    file.name = FileName(file.path);
    file.title = std::move(title);
    return true;
}

bool ChooseOutputFile(CDialog& dlg, int labelId, const char* caption, const char* label, const ChosenFile& file,
                      PathLabelLimits limits)
{
    std::string path = file.path, title = file.name, ext = file.ext;
    if (!BrowseFile(Browse::Save, caption, kQtxFilter, path, title, ext)) return false;
    file.path = path;
    file.name = title;
    file.ext = ext;
    dlg.SetItemText(labelId, ShortenPath(label, path, limits));
    return true;
}

bool ReadDepthsAndDatums(CQtxFile& file, double& top, double& bottom, CQtxDatumList& datums, bool ordered)
{
    double t = file.GetTopDepth();
    if (t == -1.0) return false;
    double b = file.GetBottomDepth();
    if (b == -1.0) return false;
    // Depths that are no numbers would reach the depth fields as "nan", which the dialog
    // then refuses without a word of the data set.
    if (!std::isfinite(t) || !std::isfinite(b)) {
        MessageBox(Format("Data set %s cannot be shown against depth: its depth step or depths are not usable "
                          "numbers.",
                          file.Path().c_str()),
                   MB_OK | MB_ICONSTOP);
        file.CloseInput();
        return false;
    }
    CQtxDatumList read;
    if (!OkOrShow(file.ReadDatumList(read))) return false;
    file.CloseInput();
    if (ordered && b < t) std::swap(t, b);
    top = t, bottom = b;
    datums = std::move(read);
    return true;
}

bool ReadQtxInput(const std::string& path, QtxInputRead& read)
{
    CQtxFile file;
    return OkOrShow(file.OpenRead(path)) && ReadDepthsAndDatums(file, read.top, read.bottom, read.datums);
}

void TakeDepthRange(CDialog& dlg, const QtxInputRead& read, int topId, double& top, int bottomId, double& bottom)
{
    top = read.top;
    bottom = read.bottom;
    // The formats of the data exchange: a field never shows one value two ways.
    dlg.SetItemNumber(topId, top);
    dlg.SetItemNumber(bottomId, bottom);
}

SlownessUnit SlownessUnitOfCode(int unitCode)
{
    return unitCode == kUnitMicrosecondsPerMetre ? SlownessUnit::kPerMetre : SlownessUnit::kPerFoot;
}

bool SuggestSlownessWindow(const CQtxDatumList& datums, SlownessWindow& window)
{
    const CQtxDatum* last = nullptr;
    for (const auto& datum : datums)
        if (datum->m_category == kCategorySlowness) last = datum.get();
    if (!last) return false;
    window.unit = SlownessUnitOfCode(last->m_axis1.m_unit);
    const bool metres = IsMetric(window.unit);
    window.min = metres ? 100.0f : 40.0f;
    window.max = metres ? 600.0f : 240.0f;
    return true;
}

void TakeSlownessWindow(CDialog& dlg, const CQtxDatumList& datums, const SlownessFields& fields)
{
    SlownessWindow window;
    if (!SuggestSlownessWindow(datums, window)) return;
    fields.unit = window.unit;
    fields.min = window.min;
    fields.max = window.max;
    dlg.SetItemText(fields.groupId, SlownessRangeTitle(fields.unit));
    dlg.SetItemNumber(fields.minId, fields.min);
    dlg.SetItemNumber(fields.maxId, fields.max);
}

std::string SelectedText(const ControlState* box)
{
    return box && box->CurSel() >= 0 ? box->ItemText(box->CurSel()) : std::string();
}

void EnableColourOrPalette(CDialog& dlg, WaveStyle style, int colourId, int paletteId)
{
    const bool wiggles = style == WaveStyle::kSignature;
    dlg.EnableItem(colourId, wiggles);
    dlg.EnableItem(paletteId, !wiggles);
}

void SetRadioPair(CDialog& dlg, uint16_t& a, uint16_t& b, bool first, int idA, int idB)
{
    SetRadioSet(dlg, {{idA, &a}, {idB, &b}}, first ? 0 : 1);
}

void SetRadioSet(CDialog& dlg, std::initializer_list<std::pair<int, uint16_t*>> buttons, int which)
{
    int i = 0;
    for (const auto& [id, flag] : buttons) {
        *flag = i++ == which ? 1 : 0;
        if (ControlState* box = dlg.Item(id)) box->SetCheck(*flag);
    }
}
