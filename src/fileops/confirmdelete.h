#pragma once

#include <QString>

namespace vennic {

class Prompts;

/// The question asked before files are deleted: a modal box with the caption
/// "Vennic - Confirm Delete" and the buttons "OK" and "Cancel". It is put through Prompts, whose
/// widget implementation shows it modal and whose scripted one lets tests answer it. Only "OK"
/// lets the deletion go ahead.
class ConfirmDelete {
public:
    static const QString Caption;
    static const QString OKButton;
    static const QString CancelButton;

    /// Shows the question and waits for the answer; true only for "OK".
    static bool ask(Prompts& prompts, const QString& question);

    /// The question of "Delete": how many marked files go, and from which folder.
    static QString markedFilesQuestion(int count, const QString& folder);
    /// The question of "DA": every file of the folder goes, also files the list does not show.
    static QString allFilesQuestion(int count, int shown, const QString& folder);
};

} // namespace vennic
