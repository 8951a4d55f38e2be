#pragma once

#include <QString>
#include <QStringList>

// The notes travel as one long line: every CR and every LF becomes a blank.
QString FlattenNotes(const QString& notes);

// Lines written into a data file: pieces of at most 80 characters, each
// after an apostrophe; none for empty notes.
QStringList NotesFileLines(const QString& notes);

// Lines printed under a chart: at most five pieces of 80 characters.
QStringList NotesPrintLines(const QString& notes);
