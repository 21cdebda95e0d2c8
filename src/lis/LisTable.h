// One row of a LIS information table named "CONS" or "QTX": the values of the row's
// components by their mnemonics, as text. The scan fills every column it finds; the
// writer sets MNEM, TUNI, VALU and DESC and leaves the others empty.
#pragma once

#include <string>

class CLisTableRow {
public:
    std::string m_mnem; // "MNEM": the row's mnemonic
    std::string m_puni; // "PUNI": parameter units
    std::string m_tuni; // "TUNI": table units
    std::string m_valu; // "VALU": value
    std::string m_svc;  // "SVC": service
    std::string m_desc; // "DESC": description
};
