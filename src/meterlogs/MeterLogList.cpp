#include "meterlogs/MeterLogList.h"

#include "link/MeterIdentity.h"
#include "meterlogs/LogRetrieval.h"
#include "meterlogs/LogText.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

MeterLogList::MeterLogList(QWidget* parent) : QDialog(parent) {
    setObjectName("MeterLogList");
    setModal(true);
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    List1 = new QListWidget(this);
    List1->setObjectName("List1");
    LogFilesList = new QListWidget(this);
    LogFilesList->setObjectName("LogFilesList");
    const int lineWidth = QFontMetrics(fixed).horizontalAdvance(QString(96, QLatin1Char('M')));
    for (QListWidget* list : {List1, LogFilesList}) {
        list->setFont(fixed);
        list->setMinimumWidth(lineWidth + 2 * list->frameWidth());
    }
    List1->setFocusPolicy(Qt::NoFocus);
    List1->setSelectionMode(QAbstractItemView::NoSelection);
    List1->setFixedHeight(QFontMetrics(fixed).height() + 4 * List1->frameWidth());
    butOpen = new QPushButton("&Open", this);
    butOpen->setObjectName("butOpen");
    butOpen->setDefault(true);  // Enter in the list opens the selected file
    butCancel = new QPushButton("&Cancel", this);
    butCancel->setObjectName("butCancel");

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(butOpen);
    buttons->addWidget(butCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(List1);
    layout->addWidget(LogFilesList);
    layout->addLayout(buttons);

    connect(butOpen, &QPushButton::clicked, this, &QDialog::accept);
    connect(butCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(LogFilesList, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
}

void MeterLogList::GetFileInx(const QStringList& choices) {
    const QString device = Meter().ModelName();
    setWindowTitle(device + " Log File Selection");
    List1->clear();
    List1->addItem(SelectionLine({"Name", "Size", "Type", "Head", "S/N"}));
    LogFilesList->clear();
    LogFilesList->addItems(choices);
    LogFilesList->setCurrentRow(0);
    LogFilesList->setFocus();
    const bool chosen = exec() == QDialog::Accepted && LogFilesList->currentItem();
    if (chosen)
        RetrieveLogs(0, LogFilesList->currentItem()->text());
    else
        RetrieveLogs(1, QString());
}
