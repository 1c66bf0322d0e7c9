// The script page: editing, change tracking, saving, printing and running its script.
#include "workspace/ScriptPage.h"

#include "workspace/PageHost.h"
#include "workspace/QtCp1252.h"
#include "workspace/ScriptChecker.h"
#include "workspace/ScriptEditor.h"
#include "workspace/ScriptHighlighter.h"

#include <QFile>
#include <QHBoxLayout>
#include <QMenu>
#include <QPainter>
#include <QPrinter>
#include <QTextBlock>
#include <QTimer>

#include <algorithm>

ScriptPage::ScriptPage(PageHost& host, QWidget* parent)
    : Page(PageKind::Script, host, parent), settings_(tavlix::defaultSettings()),
      compiler_(std::make_shared<tavlix::ScriptCompiler>())
{
    editor_ = new ScriptEditor(this);
    editor_->setObjectName("editor");
    editor_->setAccessibleName("Script");
    editor_->setLineWrapMode(QPlainTextEdit::NoWrap);
    editor_->setTabChangesFocus(false);
    editor_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    editor_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    editor_->setFrameShape(QFrame::NoFrame);
    editor_->setContextMenuPolicy(Qt::CustomContextMenu);
    layout_ = new QHBoxLayout(this);
    layout_->setContentsMargins(0, 0, 0, 0);
    layout_->setSpacing(0);
    layout_->addWidget(editor_, 1);
    setFocusProxy(editor_);
    connect(editor_, &QPlainTextEdit::textChanged, this, &ScriptPage::onTextChanged);
    highlighter_ = new ScriptHighlighter(editor_);
    connect(editor_, &QPlainTextEdit::updateRequest, highlighter_, [this](const QRect&, int dy) {
        if (dy != 0)
            highlighter_->refreshVisibleBlocks();
    });
    checker_ = new ScriptChecker(this);
    connect(checker_, &ScriptChecker::checked, this, &ScriptPage::showCheck);
    checkDelay_ = new QTimer(this);
    checkDelay_->setSingleShot(true);
    checkDelay_->setInterval(CheckDelayMs);
    connect(checkDelay_, &QTimer::timeout, this, &ScriptPage::checkNow);

    connect(editor_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        if (QMenu* menu = this->host().contextMenu())
            menu->exec(editor_->mapToGlobal(at));
    });
}

ScriptPage::~ScriptPage()
{
    // The editor goes after this page's own part; its last signals must not reach it.
    editor_->disconnect(this);
}

void ScriptPage::onTextChanged()
{
    // Colouring the lines again for new declared names changes formats only: no change of the script.
    if (highlighter_->recolouring())
        return;
    markModified();
    checkDelay_->start();
}

void ScriptPage::checkNow()
{
    checkDelay_->stop();
    // A check never runs beside a run: it waits for the next pause after it.
    if (host().running()) {
        checkDelay_->start();
        return;
    }
    checker_->check(editor_->toPlainText());
}

QString ScriptPage::statusText() const
{
    return QString(checkMessage_).replace('\n', QStringLiteral("  \u2013  "));
}

void ScriptPage::markRunError(const tavlix::RunResult& r)
{
    // The run's error keeps the hint the typing check gave for the same text, on the mark and in the status bar.
    if (r.abandoned)
        return;
    if (r.error == tavlix::ScriptError::None || r.caretLine < 0) {
        // A run-time error mended by new settings: the mark of the last run goes with it.
        if (runMarked_) {
            editor_->clearErrorMark();
            checkMessage_.clear();
            runMarked_ = false;
        }
        return;
    }
    runMarked_ = true;
    const QString message = qt_cp1252::toQString(r.message);
    const QString hint = qt_cp1252::toQString(r.hint);
    checkMessage_ = hint.isEmpty() ? message : message + "\n" + hint;
    const QString line = editor_->document()->findBlockByNumber(r.caretLine).text();
    editor_->setErrorMark(r.caretLine, r.caretColumn, ScriptChecker::markLength(line, r.caretColumn), checkMessage_);
}

void ScriptPage::showCheck(const CheckOutcome& outcome)
{
    QStringList names;
    for (const QString& name : outcome.declaredNames)
        names << name;
    highlighter_->setDeclaredNames(QSet<QString>(names.begin(), names.end()));
    editor_->setDeclaredNames(names);
    if (outcome.cutOff)
        return;  // nothing is known: the mark stays as it was
    adoptParameters(outcome.parameters);
    runMarked_ = false;
    const QString before = checkMessage_;
    if (outcome.line < 0) {
        editor_->clearErrorMark();
        checkMessage_.clear();
    } else {
        checkMessage_ = outcome.hint.isEmpty() ? outcome.message : outcome.message + "\n" + outcome.hint;
        editor_->setErrorMark(outcome.line, outcome.column, outcome.length, checkMessage_);
    }
    if (isVisible() && (checkMessage_ != before || !checkMessage_.isEmpty()))
        host().setStatus(StatusField::Error, statusText());
}

QStringList ScriptPage::lines() const
{
    QStringList lines;
    for (QTextBlock b = editor_->document()->begin(); b.isValid(); b = b.next())
        lines << b.text();
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

void ScriptPage::setLines(const QStringList& lines)
{
    QString text = lines.join('\n');
    // A last empty line needs a line end of its own, since a final empty editor line is not a line.
    if (!lines.isEmpty() && lines.last().isEmpty())
        text += '\n';
    editor_->setPlainText(text);
}

int ScriptPage::selectionLength() const
{
    QTextCursor c = editor_->textCursor();
    return c.selectionEnd() - c.selectionStart();
}

void ScriptPage::setModified(bool on)
{
    if (on == modified_)
        return;
    modified_ = on;
    emit modifiedChanged(on);
}

void ScriptPage::markModified()
{
    setModified(true);
    host().setCommandEnabled(Command::Save, true);
}

bool ScriptPage::save()
{
    QStringList lines = this->lines();
    QString bad = qt_cp1252::unstorableChars(lines.join('\n'));
    if (!bad.isEmpty()) {
        QStringList shown;
        for (int i = 0; i < bad.size(); ++i) {
            QString ch = bad[i];
            if (bad[i].isHighSurrogate() && i + 1 < bad.size())
                ch += bad[++i];
            shown << "\"" + ch + "\"";
        }
        host().reportError(QString("%1 kan ikke gemmes, fordi teksten indeholder tegn, som filformatet ikke kan "
                                   "rumme: %2.\nRet eller slet dem, og gem igen. Intet er gemt.")
                               .arg(fileName_, shown.join(' ')));
        return false;
    }
    tavlix::Document doc;
    doc.settings = settings_;
    doc.lines.reserve(static_cast<std::size_t>(lines.size()));
    for (const QString& line : lines)
        doc.lines.push_back(qt_cp1252::fromQString(line));
    std::string error;
    if (!tavlix::writeDocument(QFile::encodeName(fileName_).toStdString(), doc, error)) {
        host().reportError(error.empty() ? QString("Kan ikke gemme %1").arg(fileName_) : qt_cp1252::toQString(error));
        return false;
    }
    setModified(false);
    return true;
}

void ScriptPage::print(QPrinter& printer)
{
    QPainter p;
    if (!p.begin(&printer)) {
        host().reportError("Udskriften kunne ikke startes.");
        return;
    }
    QFont font = p.font();
    font.setPointSize(10);
    p.setFont(font);
    QFontMetrics fm(p.font(), &printer);
    const int x = 6 * fm.horizontalAdvance('M');
    const int h = (9 * fm.height()) / 8;
    const int pageHeight = p.viewport().height();
    int y = 5 * h;
    auto printLine = [&](const QString& s) {
        if (y >= pageHeight - 5 * h) {
            printer.newPage();
            y = 5 * h;
        }
        p.drawText(QRect(x, y, 1 << 20, h),
                   Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine | Qt::TextExpandTabs | Qt::TextDontClip, s);
        y += h;
    };
    printLine(caption());
    printLine(QString());
    for (const QString& line : lines())
        printLine(line);
    p.end();
}

void ScriptPage::copyToClipboard()
{
    editor_->copy();
}

void ScriptPage::updateCommands()
{
    Page::updateCommands();
    host().dockSectionPanel(this, layout_);
    for (Command c : {Command::Run, Command::PrintNow, Command::Print, Command::SaveAs})
        host().setCommandEnabled(c, true);
    const bool selected = selectionLength() > 0;
    for (Command c : {Command::Cut, Command::Copy, Command::Delete})
        host().setCommandEnabled(c, selected);
    host().setCommandEnabled(Command::Find, true);
    host().startEditCommandPoll();
    for (Command c : {Command::SelectAll, Command::Coordinates})
        host().setCommandEnabled(c, true);
    host().setCommandEnabled(Command::Undo, editor_->document()->isUndoAvailable());
    host().setCommandEnabled(Command::Redo, editor_->document()->isRedoAvailable());
    if (!checkMessage_.isEmpty())
        host().setStatus(StatusField::Error, statusText());
}

namespace {

std::vector<std::string> scriptBytes(const QStringList& lines)
{
    std::vector<std::string> script;
    script.reserve(static_cast<std::size_t>(lines.size()));
    for (const QString& line : lines)
        script.push_back(qt_cp1252::fromQString(line));
    return script;
}

}  // namespace

std::shared_ptr<const RunSource> ScriptPage::runSource() const
{
    auto source = std::make_shared<RunSource>();
    source->settings = settings_;
    source->lines = scriptBytes(lines());
    source->picks = picks_;
    return source;
}

ScriptPage::Run ScriptPage::startRun()
{
    // A run on its way keeps the compiler it was given; this page's next run gets the numbering it left.
    const std::shared_ptr<const RunSource> source = runSource();
    compiler_->setPicks(picks_);
    compiler_->setFamily(familyKey_);
    lastRunSource_ = source;
    return {compiler_, source, qt_cp1252::fromQString(caption())};
}

tavlix::RunResult ScriptPage::execute(const Run& run, tavlix::EngineHost& engineHost,
                                      std::vector<tavlix::ListParameter>& found)
{
    tavlix::RunResult r = run.compiler->run(run.source->settings, run.source->lines, run.caption, engineHost);
    found = run.compiler->listParameters();
    return r;
}

void ScriptPage::finishRun(const tavlix::RunResult& r, std::vector<tavlix::ListParameter> found)
{
    const bool edited = editedSinceRun();
    if (!edited) {
        placeCaret(r.caretLine, r.caretColumn);
        markRunError(r);
    }
    // A failed run may stop before the lists; the sliders then stay as the user left them.
    if (!r.abandoned && r.error == tavlix::ScriptError::None && !edited)
        adoptParameters(std::move(found));
    if (edited)
        checkNow();
}

bool ScriptPage::editedSinceRun() const
{
    return !lastRunSource_ || lastRunSource_->settings != settings_ || lastRunSource_->lines != scriptBytes(lines());
}

void ScriptPage::setPick(int parameter, int pick)
{
    if (parameter < 0 || parameter >= static_cast<int>(parameters_.size()))
        return;
    tavlix::ListParameter& p = parameters_[static_cast<std::size_t>(parameter)];
    p.pick = std::clamp(pick, 1, static_cast<int>(p.values.size()));
    picks_[p.key] = p.pick;
}

void ScriptPage::setFamily(int parameter, bool on)
{
    if (parameter < 0 || parameter >= static_cast<int>(parameters_.size()))
        return;
    const std::string& key = parameters_[static_cast<std::size_t>(parameter)].key;
    if (on)
        familyKey_ = key;
    else if (familyKey_ == key)
        familyKey_.clear();
}

int ScriptPage::family() const
{
    for (std::size_t i = 0; i < parameters_.size(); ++i)
        if (parameters_[i].key == familyKey_)
            return static_cast<int>(i);
    return -1;
}

void ScriptPage::adoptParameters(std::vector<tavlix::ListParameter> found)
{
    for (tavlix::ListParameter& p : found) {
        const auto picked = picks_.find(p.key);
        p.pick = picked == picks_.end() ? 1 : std::clamp(picked->second, 1, static_cast<int>(p.values.size()));
    }
    const auto same = [](const tavlix::ListParameter& a, const tavlix::ListParameter& b) {
        return a.name == b.name && a.values == b.values;
    };
    const bool changed = !std::equal(found.begin(), found.end(), parameters_.begin(), parameters_.end(), same);
    parameters_ = std::move(found);
    if (changed)
        emit parametersChanged();
}

tavlix::RunResult ScriptPage::check(tavlix::EngineHost& engineHost) const
{
    // The page's own compiler: the run that follows uses the program compiled here; the page numbering of this
    // page's runs goes on undisturbed.
    compiler_->setPicks(picks_);
    return compiler_->rehearse(settings_, scriptBytes(lines()), qt_cp1252::fromQString(caption()), engineHost);
}

void ScriptPage::placeCaret(int line, int column)
{
    QTextCursor c = editor_->textCursor();
    if (line < 0) {
        c.clearSelection();
    } else {
        QTextDocument* d = editor_->document();
        QTextBlock b = d->findBlockByNumber(line);
        if (!b.isValid())
            c.movePosition(QTextCursor::End);
        else
            c.setPosition(b.position() + std::clamp(column, 0, b.length() - 1));
    }
    editor_->setTextCursor(c);
}
