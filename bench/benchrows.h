#pragma once

// Rows as a large folder holds them, for the benchmarks that sort or print a pane.

#include "listing/panerow.h"
#include "listing/typenames.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace vennic::bench {

using vennic::PaneRow;

inline double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

inline uint64_t checksum(const std::vector<int>& order)
{
    uint64_t hash = 1469598103934665603ull;
    for (const int row : order)
        hash = (hash ^ uint32_t(row)) * 1099511628211ull;
    return hash;
}

/// Names as a large folder holds them: camera pictures, scans, documents made of words joined
/// in the usual ways, source files, some accented and some non-Latin names, and names that
/// differ only in case.
class NameMaker {
public:
    explicit NameMaker(uint32_t seed) : m_random(seed) {}

    std::string next()
    {
        switch (pick(10)) {
        case 0:
            return "IMG_" + digits(8) + "_" + digits(6) + (pick(4) ? ".jpg" : ".JPG");
        case 1:
            return "DSC" + digits(5) + (pick(2) ? ".NEF" : ".JPG");
        case 2:
            return "Scan " + digits(4) + ".pdf";
        case 3:
        case 4:
        case 5:
            return words() + extension();
        case 6:
            return camel() + extension();
        case 7:
            return words() +
                   (pick(2) ? " (" + std::to_string(pick(9) + 1) + ")" : "-v" + digits(2)) +
                   extension();
        case 8:
            return accented() + extension();
        default:
            return words() + "_" + digits(4) + "-" + digits(2) + "-" + digits(2) + extension();
        }
    }

private:
    uint32_t pick(uint32_t n) { return m_random() % n; }

    std::string digits(int count)
    {
        std::string text;
        for (int i = 0; i < count; ++i)
            text += char('0' + pick(10));
        return text;
    }

    std::string word()
    {
        static const char* const list[] = {
            "report",   "notes",   "budget", "invoice", "draft",   "final",  "meeting", "summary",
            "project",  "backup",  "data",   "export",  "import",  "config", "test",    "main",
            "widget",   "client",  "server", "photo",   "holiday", "family", "scan",    "letter",
            "contract", "minutes", "plan",   "design",  "review",  "logo",   "readme",  "index",
            "chapter",  "figure",  "table",  "results", "sample",  "old",    "new",     "copy"};
        std::string w = list[pick(sizeof list / sizeof list[0])];
        if (pick(5) == 0)
            w[0] = char(w[0] - 'a' + 'A');
        else if (pick(40) == 0)
            for (char& c : w)
                c = char(c - 'a' + 'A');
        return w;
    }

    std::string words()
    {
        static const char* const joins[] = {" ", "_", "-", ".", ""};
        const char* join = joins[pick(5)];
        std::string text = word();
        for (uint32_t i = 0, n = pick(3); i < n; ++i)
            text += join + word();
        return text;
    }

    std::string camel()
    {
        std::string text;
        for (uint32_t i = 0, n = 1 + pick(3); i < n; ++i) {
            std::string w = word();
            w[0] = char(std::toupper(static_cast<unsigned char>(w[0])));
            text += w;
        }
        return text + (pick(2) ? "Test" : "");
    }

    std::string accented()
    {
        static const char* const list[] = {"Übersicht März", "café-menu", "résumé", "Ångström",
                                           "Straße",         "ærinde",    "αρχείο", "отчёт",
                                           "naïve",          "Été ",      "façade"};
        return list[pick(sizeof list / sizeof list[0])] + std::string(pick(2) ? " " : "_") +
               digits(1 + int(pick(4)));
    }

    std::string extension()
    {
        static const char* const list[] = {".txt", ".pdf",  ".docx", ".xlsx", ".cpp", ".h",
                                           ".md",  ".json", ".png",  ".csv",  ".zip", ".tar.gz",
                                           ".PDF", ".log",  "",      ".py"};
        return list[pick(sizeof list / sizeof list[0])];
    }

    std::mt19937 m_random;
};

inline std::vector<PaneRow> makeRows(int count, vennic::TypeNames& types)
{
    NameMaker names(2024);
    std::mt19937_64 random(99);
    std::vector<PaneRow> rows;
    rows.reserve(size_t(count));
    const int64_t from = 1262304000; // 2010-01-01
    const int64_t span = 15 * 365 * 86400ll;
    for (int i = 0; i < count; ++i) {
        PaneRow& row = rows.emplace_back();
        const bool folder = random() % 20 == 0;
        row.nativeName = names.next();
        if (folder) {
            row.flags = PaneRow::Folder;
            row.typeIndex = vennic::TypeNames::FolderIndex;
            row.attributes = vennic::Attr::Directory;
        } else {
            row.flags = PaneRow::NoSizeColumn2;
            row.typeIndex = types.indexOf(row.nativeName);
            row.attributes = vennic::Attr::Archive;
        }
        if (random() % 10 == 0)
            row.attributes |= vennic::Attr::ReadOnly;
        if (random() % 25 == 0)
            row.attributes |= vennic::Attr::Hidden;
        // Sizes spread over many orders of magnitude, with many small and some equal ones.
        const int bits = int(random() % 33);
        row.size = bits == 0 ? 0 : int64_t(random() % (uint64_t(1) << bits));
        row.created = from + int64_t(random() % uint64_t(span));
        row.modified = row.created + int64_t(random() % 86400000);
        row.accessed = row.modified + int64_t(random() % 864000);
    }
    return rows;
}

} // namespace vennic::bench
