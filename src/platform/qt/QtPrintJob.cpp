#include "platform/qt/QtPrintJob.h"

#include "platform/OutputFile.h"
#include "platform/qt/QtDc.h"
#include "platform/qt/QtOutputDevice.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>

namespace {

QPageSize::PageSizeId PageSizeOf(PaperSize paper)
{
    switch (paper) {
    case PaperSize::Letter: return QPageSize::Letter;
    case PaperSize::Legal: return QPageSize::Legal;
    case PaperSize::A3: return QPageSize::A3;
    default: return QPageSize::A4;
    }
}

class PdfPrintJob : public IPrintJob {
public:
    PdfPrintJob(const std::string& path, const PageSetup& page) : m_path(path), m_page(page) {}
    ~PdfPrintJob() override
    {
        if (m_writer) Abort();
    }

    std::string OutputPath() const override { return m_path; }
    bool StartDoc(const std::string& documentName) override
    {
        if (m_writer) return false;
        m_failure.clear();
        // The document goes into a temporary beside the chosen name and takes that name
        // only when whole: a cancelled, failed or killed print leaves an old document intact.
        int error = 0;
        if (!m_output.Open(m_path, &error)) {
            m_failure = "Could not open output file :\n" + m_path + OutputFailureCause(m_path, error);
            return false;
        }
        m_device = std::make_unique<QtOutputDevice>(m_output);
        m_writer = std::make_unique<QPdfWriter>(m_device.get());
        m_writer->setTitle(QString::fromStdString(documentName));
        m_writer->setCreator("BronteluxViewer");
        m_writer->setResolution(PageCaps(m_page).logPixelsY);
        m_writer->setPageLayout(QPageLayout(QPageSize(PageSizeOf(m_page.paper)),
                                            m_page.landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                                            QMarginsF(kPageMarginMm, kPageMarginMm, kPageMarginMm, kPageMarginMm),
                                            QPageLayout::Millimeter));
        m_pages = 0;
        return true;
    }
    bool StartPage() override
    {
        if (!m_writer) return false;
        if (m_pages > 0 && !m_writer->newPage()) return false;
        if (!MakeDc()) return false;
        ++m_pages;
        return true;
    }
    Dc& PageDc() override
    {
        MakeDc();
        return m_dc ? static_cast<Dc&>(*m_dc) : m_none;
    }
    bool EndPage() override { return m_dc != nullptr; }
    bool EndDoc() override
    {
        bool ok = m_dc && m_dc->Painter().isActive();
        m_dc.reset(); // ends the painter, which writes the document
        m_writer.reset();
        // Qt's PDF writer goes on past a failed write: the device remembers it.
        const bool written = m_device && m_device->Flush();
        m_device.reset();
        if (!ok || !written) {
            m_output.Abandon();
            if (!written) Tell();
            return false;
        }
        if (m_output.Commit()) return true;
        Tell();
        return false;
    }
    void Abort() override
    {
        m_dc.reset();
        m_writer.reset();
        m_device.reset();
        // What the painter wrote is no document: it never takes the chosen name.
        m_output.Abandon();
    }
    DeviceCaps Caps() const override { return PageCaps(m_page); }
    std::string FailureText() const override { return m_failure; }

private:
    void Tell() { m_failure = "Error writing file :\n" + m_path + OutputFailureCause(m_path, m_output.Error()); }

    bool MakeDc()
    {
        if (!m_writer) return false;
        if (!m_dc) {
            m_dc = std::make_unique<QtDc>(m_writer.get(), Caps());
            // Raster layers (waveform images) keep their exact pixels on paper.
            m_dc->Painter().setRenderHint(QPainter::LosslessImageRendering, true);
        }
        return m_dc->Painter().isActive();
    }

    std::string m_path;
    PageSetup m_page;
    OutputFile m_output;
    std::unique_ptr<QtOutputDevice> m_device; // over m_output
    std::string m_failure;
    std::unique_ptr<QPdfWriter> m_writer;
    std::unique_ptr<QtDc> m_dc;
    RecordingDc m_none{PageCaps(PageSetup())}; // drawing outside a document goes nowhere
    int m_pages = 0;
};

} // namespace

std::unique_ptr<IPrintJob> CreatePdfPrintJob(const std::string& path, const PageSetup& page)
{
    return std::make_unique<PdfPrintJob>(path, page);
}
