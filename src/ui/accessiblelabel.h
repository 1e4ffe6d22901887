#pragma once

class QLabel;
class QString;

namespace vennic {

/// A label that shows a changing text (a count, a selected name, a drive) under a fixed name:
/// a screen reader reads "Left pane's counts: 3 Files, …", the fixed name alone while the
/// label is empty, so the label is never nameless and its text is never lost.
class AccessibleLabel {
public:
    /// Gives `label` the fixed `name`; the first call also teaches the accessibility layer
    /// how such labels speak.
    static void name(QLabel& label, const QString& name);
};

} // namespace vennic
