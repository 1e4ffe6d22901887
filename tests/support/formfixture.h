#pragma once

#include "app/mainform.h"
#include "platform/panelist.h"
#include "support/scriptedprompts.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

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
        m_form = std::make_unique<MainForm>(MainFormOptions{m_prompts, {}});
    }
    void TearDown() override
    {
        m_form.reset();
        std::filesystem::current_path(m_oldDir);
    }

    PaneList& rows(int pane) { return *m_form->LV1Rows[size_t(pane)]; }

    TempFolder m_tmp;
    std::filesystem::path m_oldDir;
    std::shared_ptr<ScriptedPrompts> m_prompts;
    std::unique_ptr<MainForm> m_form;
};

} // namespace vennic::test
