#pragma once

#include "listing/getlisting.h"

#include <QString>

#include <array>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>

namespace vennic {

class FolderSizing;
class PaneList;

/// The folder-size counts of the two panes. A listing leaves its sub-folders' sizes pending;
/// start() walks them, or shares the other pane's walk when both list the same folder within
/// one command, and each size goes into the pane's row as it comes in. It lives on the window's
/// thread: the walks' threads only call `post`, which must run what it is given on that thread,
/// later, and never once the counts are gone.
class PaneSizeCounts {
public:
    using Post = std::function<void(std::function<void()>)>;
    /// Called when pane `pane`'s count has ended, with the count line it leaves; the rows have
    /// all their sizes by then and are sorted again.
    using Finished = std::function<void(int pane, const QString& countLine)>;

    /// How far a count is, for its progress strip.
    struct Progress {
        int64_t foldersDone = 0;
        int64_t folders = 0;
        double bytes = 0;
        QString walking; ///< a folder being walked now, or empty
        std::chrono::steady_clock::time_point started;
    };

    PaneSizeCounts(std::array<PaneList*, 2> rows, Post post, Finished finished);
    ~PaneSizeCounts();
    PaneSizeCounts(const PaneSizeCounts&) = delete;
    PaneSizeCounts& operator=(const PaneSizeCounts&) = delete;

    /// How long start() waits for a count to end before it leaves the rows to take their sizes
    /// as they come.
    void setWait(std::chrono::milliseconds wait) { m_wait = wait; }

    /// Brackets a command that lists both panes: within it a folder both list is walked once.
    void beginCommand() { m_command = ++m_commandsRun; }
    void endCommand() { m_command = 0; }

    /// Starts counting the sizes `result` left pending in pane `pane`, which lists `folder`
    /// (identified by `identity`), and waits a moment for them; a walk shared with the other
    /// pane has been waited for already. Whatever the pane counted before is forgotten.
    void start(int pane, ListingResult& result, std::shared_ptr<const Folder> folder,
               const std::optional<FolderIdentity>& identity);
    /// Whether a command that lists both panes is running.
    bool inCommand() const { return m_command != 0; }
    /// Whether pane `pane` is still counting.
    bool counting(int pane) const;
    /// Asks pane `pane`'s count to stop; the sizes not finished stay as counted so far.
    void stop(int pane);
    void stopAll();
    /// Forgets pane `pane`'s count; a walk no pane follows any more is stopped and waited for.
    void end(int pane);
    /// The progress of pane `pane`'s count while it counts.
    std::optional<Progress> progress(int pane) const;

private:
    struct Pane {
        std::shared_ptr<FolderSizing> job;
        size_t applied = 0; ///< how many of the walk's sizes the rows have taken
        bool finished = false;
        bool anyStopped = false;
        QString note; ///< why the listing is incomplete, or nothing
        int64_t fileCount = 0;
        int64_t folderCount = 0;
        double bytes = 0;
        unsigned command = 0; ///< the command the count was started in, 0 none
        std::optional<FolderIdentity> folder;
        std::chrono::steady_clock::time_point started;
    };

    /// Puts the sizes counted since last time into pane `pane`'s rows, and ends the count when
    /// all are in.
    void take(int pane);
    void finish(int pane);
    /// The other pane's walk, when it walks the same sub-folders of the same folder within the
    /// command running now.
    std::shared_ptr<FolderSizing> shareableWalk(int pane, const std::vector<Entry>& folders) const;

    std::array<PaneList*, 2> m_rows;
    Post m_post;
    Finished m_finished;
    std::array<Pane, 2> m_panes;
    std::chrono::milliseconds m_wait{50};
    unsigned m_command = 0;
    unsigned m_commandsRun = 0;
};

} // namespace vennic
