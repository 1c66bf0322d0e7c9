// Checks a script while it is typed: compiled on a worker thread with nothing generated, so typing never waits.
#pragma once

#include "compiler/ListParameters.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <chrono>
#include <future>
#include <memory>
#include <vector>

namespace tavlix {
class ScriptCompiler;
}  // namespace tavlix

// What a check found; line is -1 when the script has no error the check can see.
struct CheckOutcome {
    int line = -1;
    int column = 0;
    int length = 1;  // the characters to underline
    QString message;
    QString hint;
    QStringList declaredNames;
    std::vector<tavlix::ListParameter> parameters;  // the list constants the check got through
    bool cutOff = false;                            // the budget ran out: nothing is known
};

class ScriptChecker : public QObject {
    Q_OBJECT
public:
    // A check that outlasts this is cut off: it keeps the window's threads free and the machine quiet.
    static constexpr std::chrono::milliseconds Budget{250};

    explicit ScriptChecker(QObject* parent = nullptr);
    // Waits for a check under way; its result is dropped.
    ~ScriptChecker() override;

    // Checks the text; while a check runs only the newest text waits for its turn.
    void check(const QString& text);
    bool busy() const { return running_.valid(); }

    // The check itself, on any thread: unstorable characters first, then the compiler's first error.
    static CheckOutcome checkText(tavlix::ScriptCompiler& compiler, const QString& text);
    // The characters to underline from the column: the word or number there, at least one.
    static int markLength(const QString& line, int column);

signals:
    void checked(const CheckOutcome& outcome);

private:
    void start(const QString& text);
    void finish(const CheckOutcome& outcome);

    std::unique_ptr<tavlix::ScriptCompiler> compiler_;
    std::future<void> running_;
    QString waiting_;
    bool hasWaiting_ = false;
};
