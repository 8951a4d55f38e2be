#pragma once

#include <QString>
#include <QStringList>

// Notes travel in data files as apostrophe lines: each line of the notes in
// pieces of at most 80 characters. A piece shorter than 80 ends its line; a
// line whose length is a multiple of 80 (an empty one too) is ended by an
// empty piece. Files whose notes were written as one paragraph read the
// same way: their last piece ends it.

// Lines written into a data file, each after an apostrophe; none for empty notes.
QStringList NotesFileLines(const QString& notes);

// Lines printed under a chart: the notes' lines in pieces of 80, at most five.
QStringList NotesPrintLines(const QString& notes);

// Gathers the pieces of the notes lines of a file (without their
// apostrophe) into the notes' text, in time linear in their length and
// bounded: past kMaxNotesLength characters the rest is left out, and the
// text says so.
class NotesGatherer {
public:
    void Add(QStringView piece);
    bool IsEmpty() const { return text_.isEmpty() && !cut_; }
    QString Text() const;

private:
    QString text_;
    bool cut_ = false;
};

// The most characters in a row without a blank or line break.
qsizetype LongestUnbrokenRun(const QString& text);
// Longer runs are shown broken anywhere, not at word boundaries.
inline constexpr qsizetype kWordWrapRun = 200;

inline constexpr int kMaxNotesLength = 64 * 1024;
inline constexpr char kNotesCutText[] = "[The rest of the notes in this file was left out: too long.]";
