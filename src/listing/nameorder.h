#pragma once

#include <QCollator>
#include <QCollatorSortKey>
#include <QLocale>
#include <QString>

#include <optional>

namespace vennic {

/// The one order of names and other row texts: the locale's collation without regard to case
/// (punctuation counts, digits are not read as numbers). Sorting by a text column and the
/// folder comparison both use it, so that two panes sorted by name line up in a comparison,
/// and two names count as the same name exactly when this order finds them equal.
///
/// Comparing through keys made once per text is much cheaper than collating two texts for each
/// comparison; compare(a, b) is defined as the comparison of their keys, so both ways agree.
/// Under the C locale Qt's collation keys keep case, so there the key is the case-folded text,
/// compared character by character.
class NameOrder {
public:
    /// The collation key of one text.
    class Key {
    public:
        Key() = default;
        /// Negative when this key's text comes first, 0 when the texts count as equal.
        int compare(const Key& other) const;
        bool operator<(const Key& other) const { return compare(other) < 0; }

    private:
        friend class NameOrder;
        std::optional<QCollatorSortKey> m_collated;
        QString m_folded;
    };

    explicit NameOrder(const QLocale& locale = QLocale());

    Key key(const QString& text) const;
    /// Negative when `a` comes before `b`, 0 when they count as the same name, positive
    /// otherwise.
    int compare(const QString& a, const QString& b) const;

private:
    QCollator m_collator;
    bool m_folding = false;
};

} // namespace vennic
