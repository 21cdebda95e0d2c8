// A print job that writes the pages as a PDF file.
#pragma once

#include "platform/PrintJob.h"

#include <memory>
#include <string>

std::unique_ptr<IPrintJob> CreatePdfPrintJob(const std::string& path);
