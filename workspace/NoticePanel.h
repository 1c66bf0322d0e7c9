// The notices of the last run, listed under the pages: the run never waits for them, the user reads them after.
#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>

class QLabel;
class QListWidget;
class QToolButton;

class NoticePanel : public QWidget {
    Q_OBJECT
public:
    explicit NoticePanel(QWidget* parent = nullptr);

    // A run starts: the last run's notices go.
    void startRun();
    // One notice of the run under way, kept until the run ends.
    void collect(const QString& line);
    // The run has ended: its notices are shown, or the panel and its button go when there were none.
    void endRun();
    QStringList lines() const;
    // The status bar's button that shows the panel again after it was closed: "Meddelelser (N)".
    QToolButton* reopenButton() const { return reopen_; }

private:
    QString title() const;

    QLabel* title_ = nullptr;
    QListWidget* list_ = nullptr;
    QToolButton* reopen_ = nullptr;
    QStringList collected_;
};
