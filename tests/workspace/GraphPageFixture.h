// A graph page on a stand-in window, for the graph page's tests.
#pragma once

#include "workspace/GraphPage.h"
#include "workspace/PageHost.h"
#include "workspace/PrintSizeDialog.h"

#include <QLineEdit>
#include <QList>
#include <QStringList>

#include <memory>

// A window stand-in: records what the page asks of it, with a real label field and size dialog.
class FakeHost : public PageHost {
public:
    FakeHost() { labelEdit.hide(); }
    void resetCommands() override
    {
        enabled.clear();
        labelEdit.hide();
        labelEdit.clear();
    }
    void setCommandEnabled(Command command, bool on) override
    {
        if (on)
            enabled << command;
        else
            enabled.removeAll(command);
    }
    void setStatus(StatusField field, const QString& text) override { status[static_cast<int>(field)] = text; }
    void stopRun(const QString& reason) override { stops << reason; }
    void reportError(const QString& text) override { errors << text; }
    QLineEdit* labelTextEdit() override { return &labelEdit; }
    QMenu* contextMenu() override { return nullptr; }
    void pageCaptionChanged(QWidget*, const QString&) override {}
    void dockSectionPanel(QWidget*, QBoxLayout*) override {}
    void startEditCommandPoll() override {}
    bool askPrintSize(double& widthCm, double& heightCm) override { return sizeDialog.edit(widthCm, heightCm); }
    bool running() const override { return runActive; }

    QLineEdit labelEdit;
    PrintSizeDialog sizeDialog;
    QList<Command> enabled;
    QString status[3];
    QStringList stops;
    QStringList errors;
    bool runActive = false;
};

inline tavlix::CoordinateSettings Defaults()
{
    return {{-5, 10, 1, 0, -5, 5, 1, 0, -5, 10, 200, 0, 0, 0.00005, 0, 0}};
}

inline std::unique_ptr<GraphPage> NewPage(FakeHost& host, const tavlix::CoordinateSettings& settings = Defaults(),
                                          long long maxPoints = tavlix::RunLimits{}.maxGraphPoints)
{
    tavlix::RunLimits limits;
    limits.maxGraphPoints = maxPoints;
    auto page = std::make_unique<GraphPage>(host, 600, 400, limits);
    page->resize(604, 404);
    page->setSettings(settings);
    page->begin();
    return page;
}
