#include "platform/Printer.h"

#include "platform/Prompts.h"

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

bool Printer::BeginDoc() {
    if (IsPrinting()) return true;
    QPrinter& dev = Device();
    QString pdf = forcedPdf_;
    if (pdf.isEmpty() && !HasSystemPrinter()) {
        FileDialogRequest req;
        req.title = "Print to PDF";
        req.filter = "PDF files (*.pdf)|*.pdf";
        req.fileName = "kelvaro.pdf";
        req.overwritePrompt = true;
        auto answer = prompts().SaveFile(req);
        if (!answer || answer->fileName.isEmpty()) return false;
        pdf = answer->fileName;
        if (QFileInfo(pdf).suffix().isEmpty()) pdf += ".pdf";
    }
    if (!pdf.isEmpty()) {
        dev.setOutputFormat(QPrinter::PdfFormat);
        dev.setOutputFileName(pdf);
        // A file has no unprintable border of its own; keep a narrow one.
        dev.setPageMargins(QMarginsF(6, 6, 6, 6), QPageLayout::Millimeter);
        pdfByUs_ = true;
    } else if (pdfByUs_) {
        // Back from a PDF of ours to the printer; a choice the user made in
        // the print dialog is left as it is.
        dev.setOutputFileName(QString());
        dev.setOutputFormat(QPrinter::NativeFormat);
        dev.setPrinterName(QPrinterInfo::defaultPrinter().printerName());
        pdfByUs_ = false;
    }
    dev.setCopyCount(copies_);
    lastPdf_ = dev.outputFormat() == QPrinter::PdfFormat ? dev.outputFileName() : QString();
    if (!page_.Begin(dev)) {
        lastPdf_.clear();
        return false;
    }
    return true;
}

bool Printer::NewPage() {
    return page_.NewPage();
}

bool Printer::EndDoc() {
    if (!IsPrinting()) return false;
    return page_.End();
}

Printer& printer() {
    // Never destroyed: the Qt printer must not outlive the application object.
    static Printer* instance = new Printer;
    return *instance;
}

}  // namespace platform
