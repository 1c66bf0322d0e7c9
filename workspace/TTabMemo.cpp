// The script page: editing, change tracking, saving, printing and running its script.
#include "workspace/TTabMemo.h"

#include "workspace/Cp1252.h"
#include "workspace/TForm1.h"

#include <QFile>
#include <QHBoxLayout>
#include <QMenu>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QTextBlock>
#include <QTimer>

TTabMemo::TTabMemo(QWidget* parent) : TTabGen(parent), Settings(tavlix::defaultSettings()), Compiler(new tavlix::ScriptCompiler)
{
    Tag = 1;
    Editor = new QPlainTextEdit(this);
    Editor->setObjectName("Editor");
    Editor->setAccessibleName("Script");
    Editor->setLineWrapMode(QPlainTextEdit::NoWrap);
    Editor->setTabChangesFocus(false);
    Editor->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Editor->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Editor->setFrameShape(QFrame::NoFrame);
    Editor->setContextMenuPolicy(Qt::CustomContextMenu);
    Layout = new QHBoxLayout(this);
    Layout->setContentsMargins(0, 0, 0, 0);
    Layout->setSpacing(0);
    Layout->addWidget(Editor, 1);
    setFocusProxy(Editor);
    connect(Editor, &QPlainTextEdit::textChanged, this, &TTabMemo::OnChange);
    connect(Editor, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        if (Form1 && Form1->PopupMenu1)
            Form1->PopupMenu1->exec(Editor->mapToGlobal(at));
    });
}

TTabMemo::~TTabMemo()
{
    // The editor goes after this page's own part; its last signals must not reach it.
    Editor->disconnect(this);
}

QStringList TTabMemo::Lines() const
{
    QStringList lines;
    for (QTextBlock b = Editor->document()->begin(); b.isValid(); b = b.next())
        lines << b.text();
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

void TTabMemo::SetLines(const QStringList& lines)
{
    QString text = lines.join('\n');
    // A last empty line needs a line end of its own, since a final empty editor line is not a line.
    if (!lines.isEmpty() && lines.last().isEmpty())
        text += '\n';
    Editor->setPlainText(text);
}

int TTabMemo::SelectionLength() const
{
    QTextCursor c = Editor->textCursor();
    return c.selectionEnd() - c.selectionStart();
}

void TTabMemo::OnChange()
{
    Modified = true;
    if (Form1) {
        Form1->Enable("Gem1", true);
        Form1->Enable("SbGem", true);
    }
}

bool TTabMemo::Gem()
{
    QStringList lines = Lines();
    QString bad = Cp1252::Unstorable(lines.join('\n'));
    if (!bad.isEmpty()) {
        QStringList shown;
        for (int i = 0; i < bad.size(); ++i) {
            QString ch = bad[i];
            if (bad[i].isHighSurrogate() && i + 1 < bad.size())
                ch += bad[++i];
            shown << "\"" + ch + "\"";
        }
        Form1->GeneralError(QString("%1 kan ikke gemmes, fordi teksten indeholder tegn, som filformatet ikke kan "
                                    "rumme: %2.\nRet eller slet dem, og gem igen. Intet er gemt.")
                                .arg(FileName, shown.join(' ')));
        return false;
    }
    tavlix::Document doc;
    doc.settings = Settings;
    doc.lines.reserve(static_cast<std::size_t>(lines.size()));
    for (const QString& line : lines)
        doc.lines.push_back(Cp1252::FromQString(line));
    std::string error;
    if (!tavlix::writeDocument(QFile::encodeName(FileName).toStdString(), doc, error)) {
        Form1->GeneralError(error.empty() ? QString("Kan ikke gemme %1").arg(FileName) : Cp1252::ToQString(error));
        return false;
    }
    Modified = false;
    return true;
}

void TTabMemo::Print(QPrinter& printer)
{
    QPainter p;
    if (!p.begin(&printer)) {
        Form1->GeneralError("Udskriften kunne ikke startes.");
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
        p.drawText(QRect(x, y, 1 << 20, h), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine | Qt::TextExpandTabs
                                                | Qt::TextDontClip, s);
        y += h;
    };
    printLine(Caption());
    printLine(QString());
    for (const QString& line : Lines())
        printLine(line);
    p.end();
}

void TTabMemo::Kopier()
{
    Editor->copy();
}

void TTabMemo::SetEnable()
{
    TTabGen::SetEnable();
    Form1->PutPanel2Into(this, Layout);
    for (const char* name : {"SbRun", "Run1", "SbPrint", "Print1", "GemSom1"})
        Form1->Enable(name, true);
    bool s = SelectionLength() > 0;
    for (const char* name : {"SbKlip", "Klip1", "Klip2", "SbCopy", "Kopier1", "Kopier2", "Ryd1", "Ryd2"})
        Form1->Enable(name, s);
    Form1->Enable("Sg1", true);
    Form1->Enable("Sg2", true);
    Form1->Timer1->start();
    for (const char* name : {"Marker1", "Marker2", "sbKoord", "Koord1"})
        Form1->Enable(name, true);
}

tavlix::RunResult TTabMemo::Run(tavlix::EngineHost& host)
{
    std::vector<std::string> lines;
    for (const QString& line : Lines())
        lines.push_back(Cp1252::FromQString(line));
    tavlix::RunResult r = Compiler->run(Settings, lines, Cp1252::FromQString(Caption()), host);
    PutCaret(r.caretLine, r.caretColumn);
    return r;
}

void TTabMemo::PutCaret(int line, int column)
{
    QTextCursor c = Editor->textCursor();
    if (line < 0) {
        c.clearSelection();
    } else {
        QTextDocument* d = Editor->document();
        QTextBlock b = d->findBlockByNumber(line);
        if (!b.isValid())
            c.movePosition(QTextCursor::End);
        else
            c.setPosition(b.position() + std::clamp(column, 0, b.length() - 1));
    }
    Editor->setTextCursor(c);
}
