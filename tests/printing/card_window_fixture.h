#pragma once

#include "base/clock.h"
#include "base/fonts.h"
#include "base/message_dialog.h"
#include "data/workspace.h"
#include "data/settings_row.h"
#include "data/visit_store.h"
#include "printing/print_job_gui.h"
#include "support/data_fixture.h"
#include "support/temp_folder.h"
#include "support/window_test.h"
#include "printing/visit_source.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTest>
#include "support/typing.h"

#include <gtest/gtest.h>
#include <memory>

namespace quillora::test {

// The visit on the main window, as much of it as the card windows read; saving stores it for real.
class ScreenVisit : public VisitSource
{
public:
    explicit ScreenVisit(Workspace &workspace)
        : m_workspace(workspace), visit(sampleVisit(QStringLiteral("张三"), QStringLiteral("2026-12-08"), QStringLiteral("2026-12-08 09:30:00")))
    {
    }
    QString institution() const override { return institutionName; }
    std::array<QString, kHeaderFieldCount> headerFields() const override { return visit.header; }
    QString visitKey() const override { return visit.key; }
    QString body() const override { return visit.body; }
    QString history() const override { return visit.history; }
    bool saveVisit() override
    {
        ++saves;
        try {
            VisitStore(m_workspace.archive()).save(visit, Clock::today().year());
        } catch (const VisitRefused &refused) {
            MessageDialog::inform(nullptr, refused.message());
            return false;
        }
        return true;
    }

    Workspace &m_workspace;
    VisitRecord visit;
    QString institutionName = QStringLiteral("青山镇中心卫生院");
    int saves = 0;
};

// Real data files in a temporary program folder and the visit a card window is opened for.
class CardWindowTest : public WindowTest
{
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        visit = std::make_unique<ScreenVisit>(*workspace);
    }

    template <typename Window>
    std::unique_ptr<Window> open()
    {
        return shown(std::make_unique<Window>(*workspace, *visit));
    }

    std::unique_ptr<ScreenVisit> visit;
};

} // namespace quillora::test
