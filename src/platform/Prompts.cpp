#include "platform/QtPrompts.h"

#include "platform/Printer.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>

namespace platform {
namespace {

Prompts* g_installed = nullptr;

QWidget* DialogParent() {
    if (QWidget* w = QApplication::activeModalWidget()) return w;
    return QApplication::activeWindow();
}

QString BoxTitle(const QString& title) {
    if (!title.isEmpty()) return title;
    const QString app = QCoreApplication::applicationName();
    return app.isEmpty() ? QStringLiteral("Kelvaro32") : app;
}

QMessageBox::Icon BoxIcon(Icon icon) {
    switch (icon) {
        case Icon::Information:
            return QMessageBox::Information;
        case Icon::Exclamation:
            return QMessageBox::Warning;
        case Icon::Critical:
            return QMessageBox::Critical;
        case Icon::Question:
            return QMessageBox::Question;
        case Icon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

QStringList DialogFilters(const QString& filter) {
    QStringList out;
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString description = parts[i].trimmed();
        QString patterns = parts[i + 1].trimmed();
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        patterns = patterns.simplified();
        if (patterns.isEmpty()) patterns = QStringLiteral("*");
        const QString suffix = QLatin1Char('(') + patterns + QLatin1Char(')');
        if (description.endsWith(suffix))
            out << description;
        else if (description.isEmpty())
            out << suffix;
        else
            out << description + QLatin1Char(' ') + suffix;
    }
    return out;
}

int FilterIndex(const QStringList& filters, const QString& chosen) {
    const qsizetype i = filters.indexOf(chosen);
    return i < 0 ? 1 : static_cast<int>(i) + 1;
}

QPrinter* SelectedPrinter() {
    Printer& session = printer();
    return session.HasSystemPrinter() ? &session.Device() : nullptr;
}

void QtPrompts::Beep() {
    QApplication::beep();
}

void QtPrompts::Message(const QString& text, const QString& title, Icon icon) {
    QMessageBox box(BoxIcon(icon), BoxTitle(title), text, QMessageBox::Ok, DialogParent());
    box.exec();
}

bool QtPrompts::AskYesNo(const QString& text, const QString& title, Icon icon) {
    QMessageBox box(BoxIcon(icon), BoxTitle(title), text, QMessageBox::Yes | QMessageBox::No, DialogParent());
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

Answer QtPrompts::AskYesNoCancel(const QString& text, const QString& title, Icon icon) {
    QMessageBox box(BoxIcon(icon), BoxTitle(title), text,
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, DialogParent());
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
        case QMessageBox::Yes:
            return Answer::Yes;
        case QMessageBox::No:
            return Answer::No;
        default:
            return Answer::Cancel;
    }
}

std::optional<FileDialogResult> QtPrompts::ShowFileDialog(const FileDialogRequest& req, bool save) {
    QFileDialog dialog(DialogParent(), req.title);
    const QStringList filters = DialogFilters(req.filter);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        const int index = req.filterIndex >= 1 && req.filterIndex <= filters.size() ? req.filterIndex : 1;
        dialog.selectNameFilter(filters[index - 1]);
    }
    if (save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        if (!req.overwritePrompt) dialog.setOption(QFileDialog::DontConfirmOverwrite);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(req.fileMustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    }
    if (!req.defaultSuffix.isEmpty()) dialog.setDefaultSuffix(req.defaultSuffix);
    if (!req.fileName.isEmpty()) dialog.selectFile(req.fileName);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty() || chosen.first().isEmpty()) return std::nullopt;
    return FileDialogResult{QDir::toNativeSeparators(chosen.first()),
                            FilterIndex(filters, dialog.selectedNameFilter())};
}

std::optional<FileDialogResult> QtPrompts::OpenFile(const FileDialogRequest& req) {
    return ShowFileDialog(req, false);
}

std::optional<FileDialogResult> QtPrompts::SaveFile(const FileDialogRequest& req) {
    return ShowFileDialog(req, true);
}

bool QtPrompts::PrintDialog(int& copies) {
    QPrinter* printer = SelectedPrinter();
    if (!printer) return true;  // no printer: the printout goes to a PDF
    printer->setCopyCount(copies < 1 ? 1 : copies);
    QPrintDialog dialog(printer, DialogParent());
    dialog.setWindowTitle(QStringLiteral("Printer Setup"));
    if (dialog.exec() != QDialog::Accepted) return false;
    copies = printer->copyCount();
    // The program prints the document once per copy; the job itself is one copy.
    printer->setCopyCount(1);
    return true;
}

bool QtPrompts::PrinterSetupDialog() {
    QPrinter* printer = SelectedPrinter();
    if (!printer) return true;
    QPageSetupDialog dialog(printer, DialogParent());
    return dialog.exec() == QDialog::Accepted;
}

void QtPrompts::SetBusy(bool busy) {
    if (busy == busy_) return;
    busy_ = busy;
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

Prompts& prompts() {
    static QtPrompts qt;
    return g_installed ? *g_installed : qt;
}

void setPrompts(Prompts* p) {
    g_installed = p;
}

}  // namespace platform
