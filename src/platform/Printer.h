#pragma once

#include "platform/PrinterSurface.h"

#include <QString>
#include <memory>
#include <optional>

class QPrinter;

namespace platform {

// The printer the print commands use, one for the whole session: the
// system's printer as the printer dialog set it up (printer, paper size,
// orientation), or, when the system has none, a PDF file whose name the user
// is asked for. One document at a time: BeginDoc opens it (page 1), Page()
// draws on the current page, EndDoc sends it off.
class Printer {
public:
    Printer();
    ~Printer();

    // Opens a document unless one is open. False when the user cancelled
    // the PDF name or the device could not be opened (Failed()); nothing is
    // printed then.
    bool BeginDoc();
    bool IsPrinting() const { return page_.IsActive(); }
    // The page being built, in millimetres; draws nothing outside a document.
    Surface& Page() { return page_; }
    bool NewPage();
    // Finishes the document; false when nothing was open or the output
    // failed (Failed(); a PDF must end complete on disk).
    bool EndDoc();
    // The last document could not be opened or failed at its end.
    bool Failed() const { return failed_; }

    void SetCopies(int copies);  // from the print dialog; below 1 counts as 1
    int Copies() const { return copies_; }

    // The session's printer, the one the print dialogs configure. A PDF of
    // our own is printed on a printer of its own with the same paper.
    QPrinter& Device();

    // Print into this PDF file without asking (tests, and "print to file").
    // An empty path restores the default printer.
    void ForcePdf(const QString& path) { forcedPdf_ = path; }
    // The PDF written by the last document; empty when it went to a printer.
    QString LastPdf() const { return lastPdf_; }
    // The system has a default printer; tests may pretend either way.
    bool HasSystemPrinter() const;
    void AssumeSystemPrinter(std::optional<bool> present) { assumedPrinter_ = present; }

private:
    QString AskPdfName();
    std::unique_ptr<QPrinter> device_;
    std::unique_ptr<QPrinter> pdf_;
    PrinterSurface page_;
    int copies_ = 1;
    QString forcedPdf_;
    QString lastPdf_;
    bool failed_ = false;
    std::optional<bool> assumedPrinter_;
};

Printer& printer();

}  // namespace platform
