// What the view setups share beyond CSetupDlg: "Save Setup" ends the dialog with
// kSavedSetup once the fields pass and "Help" shows the setup's page. Those with a
// presentation (the Type, Colour and Palette lists and Normalize) keep it alike.
// `Control` is the dialog's id enum, naming these controls alike.
#pragma once

#include "common/DomainRangeChecks.h"
#include "common/Help.h"
#include "common/SetupDlg.h"
#include "common/SetupSteps.h"
#include "settings/Palette.h"
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
        s.palette = SelectedPalette();
        EnableByType();
    }
    void OnNormalize() { ToggleCheck(*this, Control::kIdcNormalize, this->m_setup.normalize); }

protected:
    // Wires the Type list, which offers `styles` in their order, the Palette list
    // (`palettes`) and Normalize besides Save Setup and Help; `domains`, the Domain
    // list's, for the setups that have one.
    CPresentationSetupDlg(int dialogId, uint32_t helpTopic, std::span<const WaveStyle> styles,
                          std::span<const Palette> palettes, std::span<const ViewDomain> domains = {})
        : CViewerSetupDlg<Group, Control>(dialogId, helpTopic), m_styles(styles), m_palettes(palettes), m_domains(domains)
    {
        this->On(Control::kIdcType, ::Notify::SelChange, [this] { OnSelChangeType(); });
        this->On(Control::kIdcNormalize, ::Notify::Clicked, [this] { OnNormalize(); });
    }
    // The lists' lines: the names of the styles, palettes and domains offered.
    void FillTypeList() { FillLines(Control::kIdcType, m_styles, WaveStyleName); }
    void FillPaletteList() { FillLines(Control::kIdcPalette, m_palettes, PaletteName); }
    void FillDomainList() { FillLines(Control::kIdcDomain, m_domains, ViewDomainName); }
    // The value of a list's selected line (by its place, not its text); the setup's
    // without a selection.
    WaveStyle SelectedStyle() { return Selected(Control::kIdcType, m_styles, this->m_setup.type); }
    Palette SelectedPalette() { return Selected(Control::kIdcPalette, m_palettes, this->m_setup.palette); }
    ViewDomain SelectedDomain() { return Selected(Control::kIdcDomain, m_domains, this->m_setup.domain); }
    // The lists' choices, in the order type, colour, palette.
    void ExchangePresentation(DataExchange& dx)
    {
        ExchangeLine(dx, Control::kIdcType, m_styles, this->m_setup.type);
        dx.ComboString(Control::kIdcColour, this->m_setup.colour);
        ExchangeLine(dx, Control::kIdcPalette, m_palettes, this->m_setup.palette);
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
        ExchangeLine(dx, Control::kIdcDomain, m_domains, s.domain);
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
    template <typename T, typename Name> void FillLines(int id, std::span<const T> values, Name name)
    {
        ControlState* box = this->Item(id);
        if (!box) return;
        box->ResetContent();
        for (T value : values) box->AddString(name(value));
    }
    template <typename T> T Selected(int id, std::span<const T> values, T kept)
    {
        const ControlState* box = this->Item(id);
        const int line = box ? box->CurSel() : -1;
        return line >= 0 && size_t(line) < values.size() ? values[size_t(line)] : kept;
    }
    // The line of `value` selected (none when not offered); saving takes the line's value.
    template <typename T> static void ExchangeLine(DataExchange& dx, int id, std::span<const T> values, T& value)
    {
        const auto found = std::find(values.begin(), values.end(), value);
        int line = found == values.end() ? -1 : int(found - values.begin());
        dx.ComboIndex(id, line);
        if (dx.Saving() && line >= 0 && size_t(line) < values.size()) value = values[size_t(line)];
    }

    std::span<const WaveStyle> m_styles;
    std::span<const Palette> m_palettes;
    std::span<const ViewDomain> m_domains;
};
