#include "app/DesktopMenus.h"

#include "app/MainWindow.h"
#include "auxiliary/AboutBox.h"
#include "data/FileCommand.h"
#include "platform/Documents.h"
#include "platform/ProgramFolder.h"
#include "platform/Prompts.h"
#include "state/RecentFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>

void BuildHelpMenu(MainWindow& form, QMenuBar& bar) {
    QMenu* help = bar.addMenu(QStringLiteral("&Help"));
    help->setObjectName("mnuHelp");
    QAction* guide = help->addAction(QStringLiteral("User &Guide"));
    guide->setObjectName("mnuHelp_UserGuide");
    guide->setShortcut(QKeySequence::HelpContents);
    QObject::connect(guide, &QAction::triggered, &form, [] { ShowUserGuide(); });
    help->addSeparator();
    QAction* about = help->addAction(QStringLiteral("&About Kelvaro32"));
    about->setObjectName("mnuHelp_About");
    QObject::connect(about, &QAction::triggered, &form, [&form] {
        AboutBox dlg(&form);
        dlg.exec();
    });
}

QStringList RecentFileItemTexts(const QStringList& files) {
    QStringList texts;
    for (int i = 0; i < files.size(); ++i) {
        const QFileInfo info(files[i]);
        // "&" in a name would become an access key; "&&" shows it.
        QString name = info.fileName();
        QString folder = QDir::toNativeSeparators(info.path());
        name.replace(QLatin1Char('&'), QStringLiteral("&&"));
        folder.replace(QLatin1Char('&'), QStringLiteral("&&"));
        texts << QStringLiteral("&%1 %2  (%3)").arg(i + 1).arg(name, folder);
    }
    return texts;
}

QMenu* BuildRecentFilesMenu(MainWindow& form, QMenu& file) {
    QMenu* recent = file.addMenu(QStringLiteral("Recent &files"));
    recent->setObjectName("mnuFile_Recent_menu");
    recent->menuAction()->setObjectName("mnuFile_Recent");
    QObject::connect(recent, &QMenu::aboutToShow, &form, [recent] {
        recent->clear();
        const QStringList files = Recent().files;
        const QStringList texts = RecentFileItemTexts(files);
        for (int i = 0; i < files.size(); ++i) {
            QAction* a = recent->addAction(texts[i]);
            a->setObjectName(QStringLiteral("mnuFile_Recent_%1").arg(i + 1));
            a->setStatusTip(files[i]);
            const QString path = files[i];
            QObject::connect(a, &QAction::triggered, recent, [path] { OpenRecentFile(path); });
        }
        if (files.isEmpty()) recent->addAction(QStringLiteral("(none)"))->setEnabled(false);
    });
    return recent;
}

void ShowUserGuide() {
    const QString guide = platform::UserGuidePath();
    if (guide.isEmpty()) {
        platform::prompts().Message(
            QStringLiteral(
                "The user guide is not installed. It is docs/user-guide.md in the Kelvaro32 sources "
                "and share/doc/kelvaro32/user-guide.md of an installed copy."),
            QStringLiteral("Kelvaro32"), platform::Icon::Information);
        return;
    }
    if (!platform::OpenDocument(guide))
        platform::prompts().Message(QStringLiteral("No program to show the user guide was found. It is ") +
                                        QDir::toNativeSeparators(guide) + QLatin1Char('.'),
                                    QStringLiteral("Kelvaro32"), platform::Icon::Information);
}
