#include "platform/qt/QtPrintJob.h"

#include "platform/qt/QtDc.h"

#include <QFile>
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

    bool StartDoc(const std::string& documentName) override
    {
        if (m_writer) return false;
        m_writer = std::make_unique<QPdfWriter>(QString::fromStdString(m_path));
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
        const bool ok = m_dc && m_dc->Painter().isActive();
        m_dc.reset(); // ends the painter, which writes the file
        m_writer.reset();
        return ok;
    }
    void Abort() override
    {
        const bool begun = m_dc != nullptr;
        m_dc.reset();
        m_writer.reset();
        // What the painter wrote is no document: a partial file goes.
        if (begun) QFile::remove(QString::fromStdString(m_path));
    }
    DeviceCaps Caps() const override { return PageCaps(m_page); }

private:
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
