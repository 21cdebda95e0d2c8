// The "Data Set Properties" dialog: the depth summary of one LIS logical file, read only.
#pragma once

#include "platform/Dialog.h"
#include "res/DataSetPropertiesDlgIds.h"

#include <string>

class CLisLogicalFile;

class CDataSetPropertiesDlg : public CDialog {
public:
    using enum data_set_properties::Control; // ids shared with the template

    CDataSetPropertiesDlg();

    // Shown only, each after its label.
    std::string m_endDepth;
    std::string m_depthInterval;
    std::string m_dataSetName;
    std::string m_frameCount;
    std::string m_startDepth;
    std::string m_logDirection;

    // The summary of `file`: its first frame is the end depth and its last the start
    // depth (logs are recorded upwards); "UP" when its direction byte is 1.
    void Fill(const CLisLogicalFile& file);

    bool OnInitDialog() override;
};
