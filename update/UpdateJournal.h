#pragma once

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

// What an update is doing to the program's directory, written beside the
// program before the first original is replaced and again when the last new
// file is in place. A start that finds it knows, from the new files' SHA-256,
// which files were replaced before the process died, and finishes the
// replacement or puts the originals back.
//
//   Corvane 2003 update journal
//   State replacing
//   From 1.2
//   To 1.3
//   Folder Maps/Pictures
//   Replace <SHA-256 of the new file in hex> corvane2003
//   Add <SHA-256 of the new file in hex> Maps/Pictures/DM-Antalus.jpg
//
// "Replace" keeps the original in the staging directory until the new
// program has started; "Add" has no original; "Folder" is created by the
// update, parents before children.
struct UpdateJournal {
    static constexpr const char* FileName = ".corvane-update.journal";

    enum class State {
        Replacing, // renames under way: an interrupted update
        Replaced,  // every new file in place; the originals wait for the new program to start
    };
    struct Entry {
        QString path; // relative to the program's directory, '/'-separated
        QByteArray sha256;
        bool hasOriginal = false;
    };

    State state = State::Replacing;
    QString from, to;
    std::vector<QString> folders;
    std::vector<Entry> entries;

    QByteArray text() const;
    // Nothing when the text is not a journal, or names a path outside the directory.
    static std::optional<UpdateJournal> parse(const QByteArray& text);
};
