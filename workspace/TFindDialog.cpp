// The find dialog and the search itself, which looks only inside the range it is given.
#include "workspace/TFindDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

TFindDialog::TFindDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName("FindDialog1");
    setWindowTitle("Søg");
    setModal(false);
    TextEdit = new QLineEdit(this);
    TextEdit->setObjectName("FindText");
    TextEdit->setAccessibleName("Søg efter");
    auto* label = new QLabel("Søg &efter:", this);
    label->setBuddy(TextEdit);
    CaseBox = new QCheckBox("&Forskel på store og små bogstaver", this);
    CaseBox->setObjectName("MatchCase");
    WordBox = new QCheckBox("Kun &hele ord", this);
    WordBox->setObjectName("WholeWord");
    UpButton = new QRadioButton("&Op", this);
    UpButton->setObjectName("Up");
    DownButton = new QRadioButton("&Ned", this);
    DownButton->setObjectName("Down");
    DownButton->setChecked(true);
    auto* direction = new QGroupBox("Retning", this);
    direction->setAccessibleName("Retning");
    auto* dirLayout = new QHBoxLayout(direction);
    dirLayout->addWidget(UpButton);
    dirLayout->addWidget(DownButton);
    FindButton = new QPushButton("&Find næste", this);
    FindButton->setObjectName("FindNext");
    FindButton->setDefault(true);
    auto* cancel = new QPushButton("Luk", this);
    cancel->setObjectName("Cancel");

    auto* top = new QHBoxLayout;
    top->addWidget(label);
    top->addWidget(TextEdit, 1);
    auto* options = new QVBoxLayout;
    options->addWidget(WordBox);
    options->addWidget(CaseBox);
    auto* middle = new QHBoxLayout;
    middle->addLayout(options, 1);
    middle->addWidget(direction);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(FindButton);
    buttons->addWidget(cancel);
    buttons->addStretch();
    auto* left = new QVBoxLayout;
    left->addLayout(top);
    left->addLayout(middle);
    auto* all = new QHBoxLayout(this);
    all->addLayout(left, 1);
    all->addLayout(buttons);

    FindButton->setEnabled(false);
    connect(TextEdit, &QLineEdit::textChanged, this, [this](const QString& t) { FindButton->setEnabled(!t.isEmpty()); });
    connect(FindButton, &QPushButton::clicked, this, &TFindDialog::Find);
    connect(cancel, &QPushButton::clicked, this, &QDialog::hide);
}

QString TFindDialog::FindText() const { return TextEdit->text(); }
void TFindDialog::SetFindText(const QString& text) { TextEdit->setText(text); }
bool TFindDialog::Down() const { return DownButton->isChecked(); }
void TFindDialog::SetDown(bool down) { (down ? DownButton : UpButton)->setChecked(true); }
bool TFindDialog::MatchCase() const { return CaseBox->isChecked(); }
void TFindDialog::SetMatchCase(bool on) { CaseBox->setChecked(on); }
bool TFindDialog::WholeWord() const { return WordBox->isChecked(); }
void TFindDialog::SetWholeWord(bool on) { WordBox->setChecked(on); }

namespace {

bool IsWordChar(QChar c)
{
    return c.isLetterOrNumber() || c == '_';
}

}  // namespace

int TFindDialog::Search(const QString& text, int begin, int length, const QString& what, bool matchCase,
                        bool wholeWord)
{
    if (what.isEmpty() || begin < 0 || length <= 0)
        return -1;
    const int end = std::min<int>(begin + length, text.size());
    const Qt::CaseSensitivity cs = matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
    for (int p = begin; p + what.size() <= end;) {
        p = text.indexOf(what, p, cs);
        if (p < 0 || p + what.size() > end)
            return -1;
        const int after = p + what.size();
        bool whole = (p == 0 || !IsWordChar(text[p - 1])) && (after >= text.size() || !IsWordChar(text[after]));
        if (!wholeWord || whole)
            return p;
        ++p;
    }
    return -1;
}
