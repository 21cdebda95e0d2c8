// Process > Scan Qtx: the header and the datum list of a QTX data set, shown in the
// "QTX Data Set" dialog, from which the data set's history can be opened.
#pragma once

#include "cnv/ScanLabel.h"
#include "dataset/QtxFile.h"
#include "platform/Dialog.h"

#include <cstdint>
#include <string>

class CQtxDataSetDlg : public CDialog {
public:
    CQtxDataSetDlg();
    bool OnInitDialog() override;
    // Runs the history dialog on the data set, again after each save or clear.
    void OnHistory();

    // The list line of a datum: by its category, with the mnemonic alone for a
    // category the line formats do not know.
    static std::string DatumLine(const CQtxDatum& datum);

    ScannedRange m_range;
    uint8_t m_logDirection = 0;
    const CQtxDatumList* m_datums = nullptr; // the scanner's; outlives the dialog
};

class CScanQtxFile {
public:
    // Reads the header and the datum list (CQtxFile reports a failure) and shows them.
    // 1 when the dialog was closed with OK; 0 for Cancel or a failure.
    int Scan(const std::string& qtxPath);

    double m_topDepth = 0.0;
    double m_bottomDepth = 0.0;
    double m_depthStep = 0.0;
    uint8_t m_logDirection = 0;
    uint32_t m_frameCount = 0;
    CQtxDatumList m_datums;
};
