#include "listing/nameorder.h"

namespace vennic {

NameOrder::NameOrder(const QLocale& locale) : m_collator(locale)
{
    m_collator.setCaseSensitivity(Qt::CaseInsensitive);
    m_collator.setIgnorePunctuation(false);
    m_collator.setNumericMode(false);
    // Qt's C collation makes its keys from the text as it stands, case and all, while its
    // comparison ignores case; folding the text first gives keys that agree with it.
    m_folding = locale.language() == QLocale::C;
}

NameOrder::Key NameOrder::key(const QString& text) const
{
    Key key;
    if (m_folding)
        key.m_folded = text.toCaseFolded();
    else
        key.m_collated = m_collator.sortKey(text);
    return key;
}

int NameOrder::compare(const QString& a, const QString& b) const
{
    return key(a).compare(key(b));
}

int NameOrder::Key::compare(const Key& other) const
{
    if (m_collated && other.m_collated)
        return m_collated->compare(*other.m_collated);
    return m_folded.compare(other.m_folded);
}

} // namespace vennic
