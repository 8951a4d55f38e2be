#pragma once

#include <QString>
#include <QStringList>

class MainWindow;
class QMenu;
class QMenuBar;

// The Help menu: "User &Guide" (F1) and "&About Kelvaro32".
void BuildHelpMenu(MainWindow& form, QMenuBar& bar);

// File ▸ "Recent &files": the recent data files, filled afresh each time it
// opens; choosing one opens it the way File ▸ Open does.
QMenu* BuildRecentFilesMenu(MainWindow& form, QMenu& file);

// The item texts of the recent files: "&1 run.pwr  (/home/user/data)".
QStringList RecentFileItemTexts(const QStringList& files);

// Opens the user guide in the desktop's viewer, or says where it is not.
void ShowUserGuide();
