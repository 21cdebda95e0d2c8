// Process > Scan CNV and the first step of Convert CNV: the header values of a CNV
// file, shown in the "CNV Data Set" dialog. The scanner writes nothing.
#pragma once

#include "cnv/ScanLabel.h"
#include "platform/Dialog.h"

#include <cstdint>
#include <string>

class CCnvDataSetDlg : public CDialog {
public:
    CCnvDataSetDlg();
    bool OnInitDialog() override;

    ScannedRange m_range;
    std::string m_toolName;
    float m_samplingRate = 0.0f;
    uint16_t m_receiverCount = 0;
    uint16_t m_sampleCount = 0;
};

class CScanCnvFile {
public:
    // Reads tool code, header, top and bottom depth, depth step, sampling period and
    // frame count, stopping at the first failure (the reader has said why), then shows
    // them. 1 when the user confirms the dialog with OK; 0 for Cancel or a failure.
    int Scan(const std::string& cnvPath);

    // "DSI Tool" ... "WaveSonic Tool" by the file's first byte; "Unrecognized Tool" else.
    static std::string ToolName(uint8_t toolCode);

    double m_topDepth = 0.0;
    double m_bottomDepth = 0.0;
    double m_depthStep = 0.0;
    uint8_t m_depthUnitFlag = 0;
    std::string m_depthUnits;   // "FT" when the flag is 1, else "M"
    float m_samplingRate = 0.0f;
    std::string m_timeUnits;    // "US/F" for one receiver, else "USEC"
    uint16_t m_receiverCount = 0;
    uint16_t m_sampleCount = 0;
    uint8_t m_toolByte = 0;
    std::string m_toolName;
    uint32_t m_frameCount = 0;
};
