#include "processing/HeaderSetupDlg.h"

#include "common/BrowseFile.h"
#include "res/HeaderSetupDlgIds.h"

#include <iterator>

namespace {
constexpr const char* kHeaderFilter = "Header (*.hdr)|*.hdr|All Files (*.*)|*.*||";
constexpr const char* kImageFilter = "Header (*.bmp)|*.bmp|All Files (*.*)|*.*||";
} // namespace

// ---- Fluid Properties, Well Info, Remarks ----------------------------------------------

CFluidPropertiesDlg::CFluidPropertiesDlg() : CDialog(DialogTemplateFor(kIddFluidProperties)) {}

void CFluidPropertiesDlg::DoDataExchange(DataExchange& dx)
{
    for (size_t i = 0; i < m_strings.size(); ++i) dx.Text(fluid_properties::kEdits[i], m_strings[i]);
}

CWellInfoDlg::CWellInfoDlg() : CDialog(DialogTemplateFor(kIddWellInfo))
{
    On(well_info::kIdcFluidProperties, Notify::Clicked, [this] { OnFluidProperties(); });
}

void CWellInfoDlg::DoDataExchange(DataExchange& dx)
{
    for (size_t i = 0; i < std::size(well_info::kEdits); ++i) dx.Text(well_info::kEdits[i], m_strings[i]);
}

void CWellInfoDlg::OnFluidProperties()
{
    CFluidPropertiesDlg fluid;
    for (int i = 0; i < kFluidStringCount; ++i) fluid.m_strings[size_t(i)] = m_strings[size_t(kFirstFluidString + i)];
    if (fluid.DoModal() == IDCANCEL) return;
    for (int i = 0; i < kFluidStringCount; ++i) m_strings[size_t(kFirstFluidString + i)] = fluid.m_strings[size_t(i)];
}

CRemarksDlg::CRemarksDlg() : CDialog(DialogTemplateFor(kIddRemarks)) {}

void CRemarksDlg::DoDataExchange(DataExchange& dx) { dx.Text(remarks::kIdcText, m_text); }

// ---- Header Setup ------------------------------------------------------------------------

CHeaderSetupDlg::CHeaderSetupDlg() : CSetupDlg(kIddHeaderSetup)
{
    On(kIdcWellInfo, Notify::Clicked, [this] { OnWellInfo(); });
    On(kIdcRemarks, Notify::Clicked, [this] { OnRemarks(); });
    On(kIdcBuildHeader, Notify::Clicked, [this] { OnBuildHeader(); });
    On(kIdcLoadTemplate, Notify::Clicked, [this] { OnLoadTemplate(); });
    On(kIdcSaveTemplate, Notify::Clicked, [this] { OnSaveTemplate(); });
    On(kIdcSelectImageFile, Notify::Clicked, [this] { OnSelectImageFile(); });
    On(kIdcRemarksCheck, Notify::Clicked, [this] { OnRemarksCheck(); });
}

void CHeaderSetupDlg::DoDataExchange(DataExchange& dx)
{
    // Only a click changes the flag; the mark follows it.
    if (dx.Saving() || dx.Failed()) return;
    if (ControlState* c = Item(kIdcRemarksCheck)) c->SetCheck(m_setup.remarksFlag ? 1 : 0);
}

void CHeaderSetupDlg::End(int code)
{
    if (UpdateData(true)) EndDialog(code);
}

void CHeaderSetupDlg::OnWellInfo()
{
    CWellInfoDlg info;
    info.m_strings = WellInfoFromHeader(m_setup.headerStrings);
    if (info.DoModal() != IDCANCEL) HeaderFromWellInfo(info.m_strings, m_setup.headerStrings);
    End(kIdcWellInfo);
}

void CHeaderSetupDlg::OnRemarks()
{
    CRemarksDlg remarks;
    remarks.m_text = m_setup.remarks;
    if (remarks.DoModal() != IDCANCEL) m_setup.remarks = remarks.m_text;
    End(kIdcRemarks);
}

void CHeaderSetupDlg::ChooseFileAndEnd(Browse mode, const char* caption, const char* filter, std::string& path,
                                       std::string& title, std::string& ext, int code)
{
    std::string p = path, t = title, e = ext;
    if (!BrowseFile(mode, caption, filter, p, t, e)) return;
    path = p, title = t, ext = e;
    End(code);
}

void CHeaderSetupDlg::OnLoadTemplate()
{
    auto& s = m_setup;
    ChooseFileAndEnd(Browse::Open, "Load Header", kHeaderFilter, s.loadPath, s.loadTitle, s.loadExt, kIdcLoadTemplate);
}

void CHeaderSetupDlg::OnSaveTemplate()
{
    auto& s = m_setup;
    ChooseFileAndEnd(Browse::Save, "Save Header", kHeaderFilter, s.savePath, s.saveTitle, s.saveExt, kIdcSaveTemplate);
}

void CHeaderSetupDlg::OnSelectImageFile()
{
    auto& s = m_setup;
    ChooseFileAndEnd(Browse::Save, "Save Header Image As", kImageFilter, s.imagePath, s.imageTitle, s.imageExt,
                     kIdcSelectImageFile);
}

void CHeaderSetupDlg::OnRemarksCheck()
{
    m_setup.remarksFlag = m_setup.remarksFlag ? 0 : 1;
    if (ControlState* c = Item(kIdcRemarksCheck)) c->SetCheck(m_setup.remarksFlag);
}
