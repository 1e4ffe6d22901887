#pragma once

#include <QLocale>
#include <QString>

#include <memory>
#include <string>
#include <string_view>

struct UCollator;

namespace vennic {

/// The one order of names and other row texts: the locale's collation without regard to case
/// (punctuation counts, digits are not read as numbers). Sorting by a text column and the
/// folder comparison both use it, so that two panes sorted by name line up in a comparison,
/// and two names count as the same name exactly when this order finds them equal.
///
/// Every text has a key, a string of bytes made once per text; the order of two texts is the
/// order of their keys byte by byte (compareKeys), which is much cheaper than collating the two
/// texts for each comparison. compare(a, b) is defined as the comparison of their keys, so both
/// ways agree. The keys are the collation's own sort keys, with the collator set up as Qt's
/// QCollator sets it (case-insensitive strength, punctuation not ignored, no numeric mode), so
/// the order is the collator's. Under the C locale there is no collation: the key is the
/// case-folded text, written so that it orders by its UTF-16 code units.
class NameOrder {
public:
    /// The key of one text, for callers that keep a few keys on their own.
    class Key {
    public:
        Key() = default;
        /// Negative when this key's text comes first, 0 when the texts count as equal.
        int compare(const Key& other) const { return compareKeys(m_bytes, other.m_bytes); }
        bool operator<(const Key& other) const { return compare(other) < 0; }
        std::string_view bytes() const { return m_bytes; }

    private:
        friend class NameOrder;
        std::string m_bytes;
    };

    explicit NameOrder(const QLocale& locale = QLocale());

    Key key(const QString& text) const;
    /// Appends the key of `text` to `keys` and returns its length in bytes, so that the keys of
    /// many texts can sit one after another in one buffer.
    size_t appendKey(const QString& text, std::string& keys) const;
    /// Negative when `a` comes before `b`, 0 when they count as the same name, positive
    /// otherwise.
    int compare(const QString& a, const QString& b) const;

    /// The order of two keys: their bytes as unsigned values, a key that is the beginning of
    /// another one first.
    static int compareKeys(std::string_view a, std::string_view b);

private:
    /// Shared by copies: a collator that is no longer changed may be used from several threads.
    std::shared_ptr<UCollator> m_collator;
    /// The same collator without the normalization check, for text that needs none.
    std::shared_ptr<UCollator> m_plain;
};

} // namespace vennic
