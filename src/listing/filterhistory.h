#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <unordered_set>

namespace vennic {

/// The filter combo's history as a listing builds it: "*.*" first, then "*." and the extension
/// of each listed name, in the order first seen, compared without regard to case.
class FilterHistory {
public:
    FilterHistory();

    /// Adds the extension of `name` (everything after its first "."), if it has one and the
    /// history holds no entry equal to it without regard to case.
    void addName(QStringView name);
    const QStringList& entries() const { return m_entries; }

private:
    struct FoldedHash {
        using is_transparent = void;
        size_t operator()(QStringView text) const;
    };
    struct FoldedEqual {
        using is_transparent = void;
        bool operator()(QStringView a, QStringView b) const;
    };

    QStringList m_entries;
    /// Every entry, for a look-up that needs no text of its own per name.
    std::unordered_set<QString, FoldedHash, FoldedEqual> m_seen;
};

} // namespace vennic
