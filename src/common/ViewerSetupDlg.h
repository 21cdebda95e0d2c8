// What the view setups share beyond CSetupDlg: "Save Setup" ends the dialog with
// kSavedSetup once the fields pass and "Help" shows the setup's page. Those with a
// presentation (the Type, Colour and Palette lists and Normalize) keep it alike.
// `Control` is the dialog's id enum, naming these controls alike.
#pragma once

#include "common/DomainRangeChecks.h"
#include "common/Help.h"
#include "common/SetupDlg.h"
#include "common/SetupSteps.h"
#include "settings/SettingsStore.h"
#include "settings/ViewDomain.h"
#include "settings/WaveStyle.h"

#include <algorithm>
#include <cstdint>
#include <span>
#include <string>

template <typename Group, typename Control> class CViewerSetupDlg : public CSetupDlg<Group> {
public:
    enum : int { kSavedSetup = Control::kIdcSaveSetup }; // end code of "Save Setup"

    virtual void OnSaveSetup()
    {
        if (this->UpdateData(true)) this->EndDialog(kSavedSetup);
    }
    virtual void OnHelp() { ShowHelp(theApp.m_helpPath, kHelpContext, m_helpTopic); }

protected:
    // Wires Save Setup and Help; `helpTopic` is the setup's page of help.
    CViewerSetupDlg(int dialogId, uint32_t helpTopic) : CSetupDlg<Group>(dialogId), m_helpTopic(helpTopic)
    {
        this->On(Control::kIdcSaveSetup, ::Notify::Clicked, [this] { OnSaveSetup(); });
        this->On(Control::kIdcHelp, ::Notify::Clicked, [this] { OnHelp(); });
    }

private:
    uint32_t m_helpTopic;
};

// A view setup with a presentation.
template <typename Group, typename Control> class CPresentationSetupDlg : public CViewerSetupDlg<Group, Control> {
public:
    // The presentation's handlers: a type change takes the three lists' choices;
    // Normalize flips the setting and its mark.
    virtual void OnSelChangeType()
    {
        auto& s = this->m_setup;
        s.type = SelectedStyle();
        s.colour = SelectedText(this->Item(Control::kIdcColour));
        s.palette = SelectedText(this->Item(Control::kIdcPalette));
        EnableByType();
    }
    void OnNormalize() { ToggleCheck(*this, Control::kIdcNormalize, this->m_setup.normalize); }

protected:
    // Wires the Type list, which offers `styles` in their order, and Normalize besides
    // Save Setup and Help.
    CPresentationSetupDlg(int dialogId, uint32_t helpTopic, std::span<const WaveStyle> styles,
                          std::span<const ViewDomain> domains = {})
        : CViewerSetupDlg<Group, Control>(dialogId, helpTopic), m_styles(styles), m_domains(domains)
    {
        this->On(Control::kIdcType, ::Notify::SelChange, [this] { OnSelChangeType(); });
        this->On(Control::kIdcNormalize, ::Notify::Clicked, [this] { OnNormalize(); });
    }
    // The Type list's lines: the names of the styles offered.
    void FillTypeList()
    {
        ControlState* box = this->Item(Control::kIdcType);
        if (!box) return;
        box->ResetContent();
        for (WaveStyle style : m_styles) box->AddString(WaveStyleName(style));
    }
    // The Domain list's lines: the names of the domains offered.
    void FillDomainList()
    {
        ControlState* box = this->Item(Control::kIdcDomain);
        if (!box) return;
        box->ResetContent();
        for (ViewDomain domain : m_domains) box->AddString(ViewDomainName(domain));
    }
    // The domain of the Domain list's selected line (by its place, not its text); the
    // setup's without a selection.
    ViewDomain SelectedDomain()
    {
        const ControlState* box = this->Item(Control::kIdcDomain);
        const int line = box ? box->CurSel() : -1;
        return line >= 0 && size_t(line) < m_domains.size() ? m_domains[size_t(line)] : this->m_setup.domain;
    }
    // The style of the Type list's selected line (by its place, not its text); the
    // setup's without a selection.
    WaveStyle SelectedStyle()
    {
        const ControlState* box = this->Item(Control::kIdcType);
        const int line = box ? box->CurSel() : -1;
        return line >= 0 && size_t(line) < m_styles.size() ? m_styles[size_t(line)] : this->m_setup.type;
    }
    // The lists' choices, in the order type, colour, palette.
    void ExchangePresentation(DataExchange& dx)
    {
        const auto found = std::find(m_styles.begin(), m_styles.end(), this->m_setup.type);
        int line = found == m_styles.end() ? -1 : int(found - m_styles.begin());
        dx.ComboIndex(Control::kIdcType, line);
        if (dx.Saving() && line >= 0 && size_t(line) < m_styles.size()) this->m_setup.type = m_styles[size_t(line)];
        dx.ComboString(Control::kIdcColour, this->m_setup.colour);
        dx.ComboString(Control::kIdcPalette, this->m_setup.palette);
    }
    // The box shows the setting both ways; only OnNormalize changes the setting.
    void ShowNormalize(const DataExchange& dx)
    {
        if (dx.Failed()) return;
        if (ControlState* box = this->Item(Control::kIdcNormalize)) box->SetCheck(this->m_setup.normalize ? 1 : 0);
    }
    // The exchange of a setup with a domain and its four ranges: the domain, the
    // presentation, the depths and their scale, the ranges in the order listed (the
    // first refused stops it), then Normalize's mark.
    void ExchangeDomainView(DataExchange& dx, const RangeFields& depths, const FieldLimits& depthScale,
                            std::span<const DomainRangeCheck> ranges)
    {
        auto& s = this->m_setup;
        const auto found = std::find(m_domains.begin(), m_domains.end(), s.domain);
        int line = found == m_domains.end() ? -1 : int(found - m_domains.begin());
        dx.ComboIndex(Control::kIdcDomain, line);
        if (dx.Saving() && line >= 0 && size_t(line) < m_domains.size()) s.domain = m_domains[size_t(line)];
        ExchangePresentation(dx);
        ExchangeRange(dx, depths, s.topDepth, s.bottomDepth);
        dx.Text(Control::kIdcDepthScale, s.depthScale);
        CheckLimits(dx, Control::kIdcDepthScale, s.depthScale, depthScale);
        ExchangeDomainRanges(dx, s, ranges);
        ShowNormalize(dx);
    }
    // The input step's read: the data set at `path` (see ReadQtxInput), whose depth
    // range the group and the edits then show. False when it cannot be read.
    bool ReadInput(const std::string& path, QtxInputRead& read)
    {
        if (!ReadQtxInput(path, read)) return false;
        auto& s = this->m_setup;
        TakeDepthRange(*this, read, Control::kIdcTopDepth, s.topDepth, Control::kIdcBottomDepth, s.bottomDepth);
        return true;
    }
    // The colour list serves the wiggles, the palette the image.
    void EnableByType() { EnableColourOrPalette(*this, SelectedStyle(), Control::kIdcColour, Control::kIdcPalette); }

private:
    std::span<const WaveStyle> m_styles;
    std::span<const ViewDomain> m_domains;
};
