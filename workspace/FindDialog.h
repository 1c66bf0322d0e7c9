// The modeless find dialog: the text, the direction, match case and whole word; each press finds once.
#pragma once

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

class FindDialog : public QDialog {
    Q_OBJECT
public:
    explicit FindDialog(QWidget* parent = nullptr);

    QString findText() const;
    void setFindText(const QString& text);
    bool searchesForward() const;
    void setSearchesForward(bool down);
    bool matchCase() const;
    void setMatchCase(bool on);
    bool wholeWord() const;
    void setWholeWord(bool on);

    // Where the text lies in the range [begin, begin + length) of text, or -1.
    static int findInRange(const QString& text, int begin, int length, const QString& what, bool matchCase,
                           bool wholeWord);

signals:
    void findNextRequested();

private:
    QLineEdit* textEdit_ = nullptr;
    QRadioButton* upButton_ = nullptr;
    QRadioButton* downButton_ = nullptr;
    QCheckBox* caseBox_ = nullptr;
    QCheckBox* wordBox_ = nullptr;
    QPushButton* findButton_ = nullptr;
};
