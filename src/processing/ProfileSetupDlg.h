// What the filtering and picking setups share: an input data set, three profile data
// sets (frequency, time, slowness) and an output, with a frequency filter whose
// response the dialog previews. `Control` is the dialog's id enum, naming the shared
// controls alike; "Save Setup" ends the dialog with kSavedSetup.
#pragma once

#include "common/Help.h"
#include "common/PathLabel.h"
#include "common/SetupDlg.h"
#include "common/SetupSteps.h"
#include "dataset/QtxFile.h"
#include "processing/FilterResponse.h"
#include "processing/SetupFiles.h"
#include "settings/SettingsStore.h"

#include <cstdint>
#include <string>

template <typename Group, typename Control> class CProfileSetupDlg : public CSetupDlg<Group> {
public:
    enum : int { kSavedSetup = Control::kIdcSaveSetup };

    void OnDrawItem(int id, Dc& dc, const Rect& client) override
    {
        if (id != Control::kIdcResponse) return;
        const double f1 = ResponseEditValue(this->GetItemText(Control::kIdcFrequencyStart));
        const double f2 = ResponseEditValue(this->GetItemText(Control::kIdcFrequencyStop));
        ::DrawResponse(dc, client, this->m_setup.bellShape != 0, f1, f2, m_sampleInterval, m_response);
    }

    // Each returns 1 when the pick completed, 0 on Cancel or a failed read.
    int OnSelectFrequencyProfile() { return PickProfile(SetupInput::Frequency, Control::kIdcFrequencyProfile); }
    int OnSelectTimeProfile() { return PickProfile(SetupInput::Time, Control::kIdcTimeProfile); }
    int OnSelectSlownessProfile() { return PickProfile(SetupInput::Slowness, Control::kIdcSlownessProfile); }
    int OnSelectOutputFile()
    {
        auto& s = this->m_setup;
        if (!ChooseOutputFile(*this, Control::kIdcOutputFile, "Browse Output QTX File", "Output File : ",
                              {s.outputPath, s.outputName, s.outputExt}, kNarrowPathLabel))
            return 0;
        DrawResponse();
        return 1;
    }
    void OnShape(bool bell)
    {
        SetRadioPair(*this, this->m_setup.bellShape, this->m_setup.semiRectangular, bell, Control::kIdcBellShape,
                     Control::kIdcSemiRectangular);
        DrawResponse();
    }
    void OnHScroll(int code)
    {
        if (code == kEndScroll) DrawResponse();
    }
    void OnSaveSetup()
    {
        if (this->UpdateData(true)) this->EndDialog(kSavedSetup);
    }
    void OnHelp() { ShowHelp(theApp.m_helpPath, kHelpContext, m_helpTopic); }
    void DrawResponse() { this->RedrawItem(Control::kIdcResponse); }

    // The waveforms' sample interval in microseconds, which the preview's axis needs.
    // Nothing sets it from a data set yet; while it is 0 the preview stays blank.
    float m_sampleInterval = 0.0f;
    ResponseValues m_response{};

protected:
    // Wires the buttons every profile setup has; `helpTopic` is its page of help.
    CProfileSetupDlg(int dialogId, uint32_t helpTopic) : CSetupDlg<Group>(dialogId), m_helpTopic(helpTopic)
    {
        constexpr auto Clicked = ::Notify::Clicked;
        this->On(Control::kIdcSelectFrequencyProfile, Clicked, [this] { OnSelectFrequencyProfile(); });
        this->On(Control::kIdcSelectTimeProfile, Clicked, [this] { OnSelectTimeProfile(); });
        this->On(Control::kIdcSelectSlownessProfile, Clicked, [this] { OnSelectSlownessProfile(); });
        this->On(Control::kIdcSelectOutputFile, Clicked, [this] { OnSelectOutputFile(); });
        this->On(Control::kIdcBellShape, Clicked, [this] { OnShape(true); });
        this->On(Control::kIdcSemiRectangular, Clicked, [this] { OnShape(false); });
        this->On(Control::kIdcResponse, Clicked, [this] { DrawResponse(); });
        this->On(Control::kIdcSaveSetup, Clicked, [this] { OnSaveSetup(); });
        this->On(Control::kIdcHelp, Clicked, [this] { OnHelp(); });
    }

    // Which of the group's inputs changed since their last pick, kept by the store.
    virtual InputChangeBookkeeping& Changes() = 0;
    // What the datums of a picked profile change beyond the pick.
    virtual void ProfileRead(SetupInput which, const CQtxDatumList& datums) = 0;

    static std::string Shorten(const char* label, const std::string& path)
    {
        return ShortenPath(label, path, kNarrowPathLabel);
    }
    // The labels of the input, output and profile paths the group holds.
    void ShowPaths()
    {
        const auto& s = this->m_setup;
        this->SetItemText(Control::kIdcInputFile, Shorten("Input File : ", s.inputPath));
        this->SetItemText(Control::kIdcOutputFile, Shorten("Output File : ", s.outputPath));
        this->SetItemText(Control::kIdcFrequencyProfile, Shorten("Profile : ", s.frequencyProfilePath));
        this->SetItemText(Control::kIdcTimeProfile, Shorten("Profile : ", s.timeProfilePath));
        this->SetItemText(Control::kIdcSlownessProfile, Shorten("Profile : ", s.slownessProfilePath));
    }
    // The input step: the pick (its file title to `title`); once the data set opens,
    // `nameOutput` names the output, whose label follows, then its depth range is shown
    // and its datums go to `datums`. False on Cancel or a failed read.
    template <typename NameOutput> bool SelectInput(std::string& title, NameOutput nameOutput, CQtxDatumList& datums)
    {
        auto& s = this->m_setup;
        if (!PickSetupInput(*this, s, Changes(), SetupInput::Input, Control::kIdcInputFile, title)) return false;
        CQtxFile file;
        if (!OkOrShow(file.OpenRead(s.inputPath))) return false;
        nameOutput();
        this->SetItemText(Control::kIdcOutputFile, Shorten("Output File : ", s.outputPath));
        if (!ReadDepthsAndDatums(file, s.topDepth, s.bottomDepth, datums)) return false;
        ShowDepth(*this, Control::kIdcTopDepth, s.topDepth);
        ShowDepth(*this, Control::kIdcBottomDepth, s.bottomDepth);
        return true;
    }

private:
    static constexpr int kEndScroll = 8;

    int PickProfile(SetupInput which, int labelId)
    {
        CQtxDatumList datums;
        if (!::PickProfile(*this, this->m_setup, Changes(), which, labelId, datums)) return 0;
        ProfileRead(which, datums);
        DrawResponse();
        return 1;
    }

    uint32_t m_helpTopic;
};
