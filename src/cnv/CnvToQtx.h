// CCnvToQtx: Process > Convert CNV after the scan. Writes one QTX data set holding
// one datum, the waveforms (or slowness curves) of every frame of a CNV file, with
// the mnemonic, item type and domain of the origin the user names.
//
// The questions (origin, CLSS receiver) and the refusals (output over the input, an
// existing file not to be replaced) all come before the output is created. Once it
// exists, every ending leaves a data set whose header counts exactly the whole frames
// it holds: a stop is a success, a read or write failure returns 0 after the frames
// written so far are settled, and a failure in the head removes the output.
#pragma once

#include <cstdint>
#include <string>

class CCnvToQtx {
public:
    // Filled by the command from the scan.
    double m_topDepth = 0.0;
    double m_bottomDepth = 0.0;
    double m_depthStep = 0.0;
    std::string m_depthUnit;   // "FT" or "M"
    float m_samplingPeriod = 0.0f;
    std::string m_sampleAxis;  // "US/F" or "USEC"; not used by the conversion
    uint16_t m_channelCount = 0;
    uint16_t m_samplesPerChannel = 0;
    uint8_t m_toolCode = 0;    // not used by the conversion
    uint32_t m_frameCount = 0;
    // The save dialog already asked before replacing the output.
    bool m_outputConfirmed = false;

    // 1 when the data set was written (also after a confirmed stop); 0 when anything
    // failed, was refused or the CLSS dialog was cancelled.
    int Convert(const std::string& cnvPath, const std::string& qtxPath);

    // The mnemonic of an origin code (Data Origin list index).
    static std::string OriginMnemonic(uint8_t code);

    // Set by Convert: the origin chosen and, for CLSS, the receiver (0..3).
    int m_origin = 0;
    int m_clssReceiver = 0;
};
