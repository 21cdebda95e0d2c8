// A print job that writes the pages as a PDF file on the chosen page.
#pragma once

#include "platform/PrintJob.h"

#include <memory>
#include <string>

std::unique_ptr<IPrintJob> CreatePdfPrintJob(const std::string& path, const PageSetup& page = PageSetup());
