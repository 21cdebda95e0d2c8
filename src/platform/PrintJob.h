// A print job: documents of pages drawn on a Dc. On this platform a job writes a
// PDF file; the page's device capabilities describe the printable area.
#pragma once

#include "platform/Dc.h"

#include <memory>
#include <string>

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
};
