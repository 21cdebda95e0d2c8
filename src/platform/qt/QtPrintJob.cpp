#include "platform/qt/QtPrintJob.h"

#include "platform/qt/QtDc.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>

namespace {

class PdfPrintJob : public IPrintJob {
public:
    explicit PdfPrintJob(const std::string& path) : m_path(path) {}

    bool StartDoc(const std::string& documentName) override
    {
        m_writer = std::make_unique<QPdfWriter>(QString::fromStdString(m_path));
        m_writer->setTitle(QString::fromStdString(documentName));
        m_writer->setCreator("BronteluxViewer");
        m_writer->setResolution(300);
        m_writer->setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(10, 10, 10, 10),
                                            QPageLayout::Millimeter));
        m_pages = 0;
        return true;
    }
    bool StartPage() override
    {
        if (!m_writer) return false;
        if (m_pages > 0 && !m_writer->newPage()) return false;
        if (!m_dc) m_dc = std::make_unique<QtDc>(m_writer.get(), Caps());
        if (!m_dc->Painter().isActive()) return false;
        ++m_pages;
        return true;
    }
    Dc& PageDc() override
    {
        if (!m_dc) m_dc = std::make_unique<QtDc>(m_writer.get(), Caps());
        return *m_dc;
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
        m_dc.reset();
        m_writer.reset();
    }
    DeviceCaps Caps() const override
    {
        DeviceCaps caps;
        if (!m_writer) return caps;
        caps.horzRes = m_writer->width();
        caps.vertRes = m_writer->height();
        caps.horzSize = m_writer->widthMM();
        caps.vertSize = m_writer->heightMM();
        caps.logPixelsX = m_writer->logicalDpiX();
        caps.logPixelsY = m_writer->logicalDpiY();
        return caps;
    }

private:
    std::string m_path;
    std::unique_ptr<QPdfWriter> m_writer;
    std::unique_ptr<QtDc> m_dc;
    int m_pages = 0;
};

} // namespace

std::unique_ptr<IPrintJob> CreatePdfPrintJob(const std::string& path) { return std::make_unique<PdfPrintJob>(path); }
