#pragma once

#include "app/mainform.h"
#include "listing/panelist.h"
#include "support/scriptedprompts.h"
#include "support/tempfolder.h"
#include "ui/panelistview.h"

#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <set>

namespace vennic::test {

/// A main window started on a temporary folder as the current directory, with scripted
/// prompts and the real file system. Fill the folder in `prepare()` before the form lists it.
class FormFixture : public ::testing::Test {
protected:
    virtual void prepare() {}

    void SetUp() override
    {
        prepare();
        m_oldDir = std::filesystem::current_path();
        std::filesystem::current_path(m_tmp.path());
        m_prompts = std::make_shared<ScriptedPrompts>();
        m_form = std::make_unique<MainForm>(options(m_prompts));
    }
    void TearDown() override
    {
        m_form.reset();
        std::filesystem::current_path(m_oldDir);
    }

    /// The options of a test's window: a file command ends before its handler returns, as the
    /// tests of its results expect, however slow the machine.
    static MainFormOptions options(std::shared_ptr<Prompts> prompts)
    {
        MainFormOptions options{std::move(prompts), {}};
        options.fileJobWait = std::chrono::minutes(1);
        return options;
    }

    /// Shows the window and waits until the platform has put it on screen.
    [[nodiscard]] bool showForm()
    {
        m_form->show();
        return QTest::qWaitForWindowExposed(m_form.get());
    }

    PaneList& rows(int pane) { return *m_form->LV1Rows[size_t(pane)]; }
    /// The names of the folder rows (or the file rows) of a pane.
    std::set<QString> names(int pane, bool folders)
    {
        std::set<QString> found;
        for (int i = 0; i < rows(pane).rowCount(); ++i)
            if (rows(pane).row(i).isFolder() == folders)
                found.insert(rows(pane).cellText(i, ColName));
        return found;
    }
    /// The row of a pane with that native name; a missing row fails the test and gives -1.
    int rowOf(int pane, const std::string& nativeName)
    {
        for (int i = 0; i < rows(pane).rowCount(); ++i)
            if (rows(pane).row(i).nativeName == nativeName)
                return i;
        ADD_FAILURE() << "no row " << nativeName;
        return -1;
    }
    /// Makes a pane active and its row with that name current, as a click does without the
    /// click's mark. Returns the row.
    int select(int pane, const std::string& nativeName)
    {
        m_form->ActivePane = pane;
        const int row = rowOf(pane, nativeName);
        m_form->LV1[size_t(pane)]->setCurrentRow(row);
        return row;
    }
    /// Lists a folder, given by its native path, in a pane.
    void list(int pane, const std::string& nativePath)
    {
        m_form->setPanePath(pane, nativePath);
        m_form->GetListing(pane);
    }
    /// The full path of an entry of the temporary folder, as the path box shows it.
    QString path(const std::string& relative) const
    {
        return QString::fromStdString(m_tmp.pathOf(relative));
    }

    TempFolder m_tmp;
    std::filesystem::path m_oldDir;
    std::shared_ptr<ScriptedPrompts> m_prompts;
    std::unique_ptr<MainForm> m_form;
};

} // namespace vennic::test
