#include "listing/filterhistory.h"

#include <QChar>

namespace vennic {

namespace {

const QString StarDot = QStringLiteral("*.");

} // namespace

FilterHistory::FilterHistory()
{
    m_entries << QStringLiteral("*.*");
    m_seen.insert(m_entries.first());
}

size_t FilterHistory::FoldedHash::operator()(QStringView text) const
{
    // Surrogates all hash alike so that texts equal under Qt's case-insensitive comparison
    // always hash alike too.
    size_t hash = 1469598103934665603ull;
    for (const QChar c : text) {
        char16_t unit = c.unicode();
        if (unit >= u'A' && unit <= u'Z')
            unit += u'a' - u'A';
        else if (unit >= 0x80)
            unit = c.isSurrogate() ? char16_t(0xD800) : QChar::toCaseFolded(unit);
        hash = (hash ^ unit) * 1099511628211ull;
    }
    return hash;
}

bool FilterHistory::FoldedEqual::operator()(QStringView a, QStringView b) const
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

void FilterHistory::addName(QStringView name)
{
    const qsizetype dot = name.indexOf(QLatin1Char('.'));
    if (dot < 0)
        return;
    // The name already holds the "." and the extension, so a copy on the stack with a "*" in
    // front looks the entry up without making a text on the heap for every listed file.
    const QStringView dotted = name.mid(dot);
    QChar buffer[256];
    if (dotted.size() < qsizetype(std::size(buffer))) {
        buffer[0] = QLatin1Char('*');
        std::copy(dotted.begin(), dotted.end(), buffer + 1);
        if (m_seen.find(QStringView(buffer, dotted.size() + 1)) != m_seen.end())
            return;
    }
    QString entry = StarDot;
    entry += name.mid(dot + 1);
    if (m_seen.find(QStringView(entry)) != m_seen.end())
        return;
    m_entries << entry;
    m_seen.insert(std::move(entry));
}

} // namespace vennic
