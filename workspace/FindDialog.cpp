// The find dialog and the search itself, which looks only inside the range it is given.
#include "workspace/FindDialog.h"

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

FindDialog::FindDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName("findDialog");
    setWindowTitle("Søg");
    setModal(false);
    textEdit_ = new QLineEdit(this);
    textEdit_->setObjectName("FindText");
    textEdit_->setAccessibleName("Søg efter");
    auto* label = new QLabel("Søg &efter:", this);
    label->setBuddy(textEdit_);
    caseBox_ = new QCheckBox("&Forskel på store og små bogstaver", this);
    caseBox_->setObjectName("MatchCase");
    wordBox_ = new QCheckBox("Kun &hele ord", this);
    wordBox_->setObjectName("WholeWord");
    upButton_ = new QRadioButton("&Op", this);
    upButton_->setObjectName("Up");
    downButton_ = new QRadioButton("&Ned", this);
    downButton_->setObjectName("Down");
    downButton_->setChecked(true);
    auto* direction = new QGroupBox("Retning", this);
    direction->setAccessibleName("Retning");
    auto* dirLayout = new QHBoxLayout(direction);
    dirLayout->addWidget(upButton_);
    dirLayout->addWidget(downButton_);
    findButton_ = new QPushButton("&Find næste", this);
    findButton_->setObjectName("FindNext");
    findButton_->setDefault(true);
    auto* cancel = new QPushButton("Luk", this);
    cancel->setObjectName("Cancel");

    auto* top = new QHBoxLayout;
    top->addWidget(label);
    top->addWidget(textEdit_, 1);
    auto* options = new QVBoxLayout;
    options->addWidget(wordBox_);
    options->addWidget(caseBox_);
    auto* middle = new QHBoxLayout;
    middle->addLayout(options, 1);
    middle->addWidget(direction);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(findButton_);
    buttons->addWidget(cancel);
    buttons->addStretch();
    auto* left = new QVBoxLayout;
    left->addLayout(top);
    left->addLayout(middle);
    auto* all = new QHBoxLayout(this);
    all->addLayout(left, 1);
    all->addLayout(buttons);

    findButton_->setEnabled(false);
    connect(textEdit_, &QLineEdit::textChanged, this,
            [this](const QString& t) { findButton_->setEnabled(!t.isEmpty()); });
    connect(findButton_, &QPushButton::clicked, this, &FindDialog::findNextRequested);
    connect(cancel, &QPushButton::clicked, this, &QDialog::hide);
}

QString FindDialog::findText() const
{
    return textEdit_->text();
}
void FindDialog::setFindText(const QString& text)
{
    textEdit_->setText(text);
}
bool FindDialog::searchesForward() const
{
    return downButton_->isChecked();
}
void FindDialog::setSearchesForward(bool down)
{
    (down ? downButton_ : upButton_)->setChecked(true);
}
bool FindDialog::matchCase() const
{
    return caseBox_->isChecked();
}
void FindDialog::setMatchCase(bool on)
{
    caseBox_->setChecked(on);
}
bool FindDialog::wholeWord() const
{
    return wordBox_->isChecked();
}
void FindDialog::setWholeWord(bool on)
{
    wordBox_->setChecked(on);
}

namespace {

bool isWordChar(QChar c)
{
    return c.isLetterOrNumber() || c == '_';
}

}  // namespace

int FindDialog::findInRange(const QString& text, int begin, int length, const QString& what, bool matchCase,
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
        bool whole = (p == 0 || !isWordChar(text[p - 1])) && (after >= text.size() || !isWordChar(text[after]));
        if (!wholeWord || whole)
            return p;
        ++p;
    }
    return -1;
}
