// Turns the session's request to end the program (SIGTERM, sent at logout) into a call on the event loop, where the
// window can still save its unsaved work before the program ends as the signal asked.
#pragma once

#include <QObject>

#include <functional>

class QSocketNotifier;

class TerminationWatch : public QObject {
    Q_OBJECT
public:
    // lastWords runs on the event loop once SIGTERM has come; the program then ends by the signal itself.
    explicit TerminationWatch(std::function<void()> lastWords, QObject* parent = nullptr);
    ~TerminationWatch() override;

private:
    void onSignal();

    std::function<void()> lastWords_;
    QSocketNotifier* notifier_ = nullptr;
};
