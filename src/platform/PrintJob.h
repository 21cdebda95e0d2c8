// A print job: documents of pages drawn on a Dc. On this platform a job writes a
// PDF file; the page's device capabilities describe the printable area of the
// paper the user chose in the printer set-up (File > Printer Setup).
#pragma once

#include "platform/Dc.h"
#include "platform/Dialog.h"

#include <memory>
#include <string>

enum class PaperSize : int { A4, Letter, Legal, A3 };

// The user's choice of paper, orientation and resolution for printed documents.
struct PageSetup {
    PaperSize paper = PaperSize::A4;
    bool landscape = false;
    int dotsPerInch = 300;
    friend bool operator==(const PageSetup&, const PageSetup&) = default;
};

// Margin left unprinted on every side of the paper, millimetres.
inline constexpr double kPageMarginMm = 10.0;

// Width and height of the paper in millimetres as it is held (landscape turns it).
void PaperMillimetres(const PageSetup& setup, double& width, double& height);
const char* PaperName(PaperSize paper);

// The printable area of the chosen page: the paper less its margins, in pixels of
// the setup's resolution (truncated, so drawing inside them stays on the paper).
DeviceCaps PageCaps(const PageSetup& setup);

// Every backend's job keeps this contract:
// - Caps() describes the printable area of the page the job was made for, before
//   StartDoc as well as after, and PageDc() reports the same capabilities;
// - a job aborted, or dropped before EndDoc, leaves no document behind (a PDF file
//   begun is deleted);
// - a document that could not be written whole (a full disk, a file-size limit) fails
//   EndDoc, leaves any older file of the name as it was, and FailureText says why.
class IPrintJob {
public:
    virtual ~IPrintJob() = default;
    virtual bool StartDoc(const std::string& documentName) = 0;
    virtual bool StartPage() = 0;
    virtual Dc& PageDc() = 0; // valid between StartPage and EndPage
    virtual bool EndPage() = 0;
    virtual bool EndDoc() = 0;
    virtual void Abort() = 0;
    virtual DeviceCaps Caps() const = 0;
    // Why the last StartDoc or EndDoc failed, a line for the user's message ("" when
    // there is nothing to add).
    virtual std::string FailureText() const { return {}; }
    // The file the job writes, for the word a finished print ends with; empty when
    // the job writes no file of a name the user knows.
    virtual std::string OutputPath() const { return {}; }
};

// File > Printer Setup: the paper and the orientation of printed documents. The
// dialog edits m_setup; IDOK means the user took it.
class CPageSetupDlg : public CDialog {
public:
    enum : int {
        kIddPageSetup = 30500,
        kIdcA4 = 30501,
        kIdcLetter,
        kIdcLegal,
        kIdcA3,
        kIdcPortrait,
        kIdcLandscape,
        kIdcPaperGroup,
        kIdcOrientationGroup,
    };

    CPageSetupDlg();
    void DoDataExchange(DataExchange& dx) override;

    PageSetup m_setup;
};
