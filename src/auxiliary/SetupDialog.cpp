#include "auxiliary/SetupDialog.h"

#include "state/Configuration.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

void SetupDialog::MakeButtons(const std::function<void()>& ok) {
    lblReminder = MakeReminder(this);
    Command2 = new QPushButton("OK", this);
    Command2->setObjectName("Command2");
    Command2->setDefault(true);
    Command1 = new QPushButton("&Cancel", this);
    Command1->setObjectName("Command1");
    connect(Command2, &QPushButton::clicked, this, ok);
    connect(Command1, &QPushButton::clicked, this, [this] { Unload(); });
}

void SetupDialog::ArrangeAboveButtons(QLayout* frames) {
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(lblReminder, 1);
    buttons->addWidget(Command2);
    buttons->addWidget(Command1);
    auto* all = new QVBoxLayout(this);
    all->addLayout(frames);
    all->addLayout(buttons);
}

void SetupDialog::FinishOk() {
    emit applied();
    Unload();
    SaveConfiguration();
}

void SetupDialog::Unload() {
    if (lifecycle_.Hide(this)) emit unloaded();
}

void SetupDialog::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (lifecycle_.LostFocus(this, event)) Unload();
}

void SetupDialog::reject() {
    Unload();
}
