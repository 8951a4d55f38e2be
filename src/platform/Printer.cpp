#include "platform/Printer.h"

#include "platform/Prompts.h"

#include <QFile>
#include <QFileInfo>
#include <QPageLayout>
#include <QPrinter>
#include <QPrinterInfo>

namespace platform {

Printer::Printer() = default;

Printer::~Printer() {
    page_.End();
}

QPrinter& Printer::Device() {
    if (!device_) device_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *device_;
}

bool Printer::HasSystemPrinter() const {
    if (assumedPrinter_) return *assumedPrinter_;
    return !QPrinterInfo::defaultPrinter().isNull();
}

void Printer::SetCopies(int copies) {
    copies_ = copies < 1 ? 1 : copies;
}

// The PDF the user names when the system has no printer; empty on Cancel.
QString Printer::AskPdfName() {
    FileDialogRequest req;
    req.title = "Print to PDF";
    req.filter = "PDF files (*.pdf)|*.pdf";
    req.fileName = "kelvaro.pdf";
    req.overwritePrompt = true;
    const auto answer = prompts().SaveFile(req);
    if (!answer || answer->fileName.isEmpty()) return QString();
    QString pdf = answer->fileName;
    if (QFileInfo(pdf).suffix().isEmpty()) pdf += ".pdf";
    return pdf;
}

bool Printer::BeginDoc() {
    if (IsPrinting()) return true;
    failed_ = false;
    QPrinter* dev = &Device();
    if (!forcedPdf_.isEmpty() || !HasSystemPrinter()) {
        const QString pdf = forcedPdf_.isEmpty() ? AskPdfName() : forcedPdf_;
        if (pdf.isEmpty()) return false;
        // The session printer keeps its own output; the PDF takes its paper.
        pdf_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
        pdf_->setOutputFormat(QPrinter::PdfFormat);
        pdf_->setOutputFileName(pdf);
        pdf_->setPageSize(dev->pageLayout().pageSize());
        pdf_->setPageOrientation(dev->pageLayout().orientation());
        // A file has no unprintable border of its own; keep a narrow one.
        pdf_->setPageMargins(QMarginsF(6, 6, 6, 6), QPageLayout::Millimeter);
        dev = pdf_.get();
    }
    dev->setCopyCount(copies_);
    lastPdf_ = dev->outputFormat() == QPrinter::PdfFormat ? dev->outputFileName() : QString();
    if (!page_.Begin(*dev)) {
        lastPdf_.clear();
        failed_ = true;
        return false;
    }
    return true;
}

bool Printer::NewPage() {
    return page_.NewPage();
}

bool Printer::EndDoc() {
    if (!IsPrinting()) return false;
    bool ok = page_.End();
    // The PDF writer does not notice a write that failed: look at the file.
    if (ok && !lastPdf_.isEmpty()) {
        QFile written(lastPdf_);
        ok = written.open(QIODevice::ReadOnly) && !written.isSequential() && written.size() > 6 &&
             written.seek(written.size() - 7) && written.readAll().contains("%%EOF");
    }
    failed_ = !ok;
    return ok;
}

Printer& printer() {
    // Never destroyed: the Qt printer must not outlive the application object.
    static Printer* instance = new Printer;
    return *instance;
}

}  // namespace platform
