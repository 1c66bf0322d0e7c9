// The modeless find dialog: the text, the direction, match case and whole word; each press finds once.
#pragma once

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

class TFindDialog : public QDialog {
    Q_OBJECT
public:
    explicit TFindDialog(QWidget* parent = nullptr);

    QString FindText() const;
    void SetFindText(const QString& text);
    bool Down() const;
    void SetDown(bool down);
    bool MatchCase() const;
    void SetMatchCase(bool on);
    bool WholeWord() const;
    void SetWholeWord(bool on);

    // Where the text lies in the range [begin, begin + length) of text, or -1.
    static int Search(const QString& text, int begin, int length, const QString& what, bool matchCase,
                      bool wholeWord);

signals:
    void Find();

private:
    QLineEdit* TextEdit = nullptr;
    QRadioButton* UpButton = nullptr;
    QRadioButton* DownButton = nullptr;
    QCheckBox* CaseBox = nullptr;
    QCheckBox* WordBox = nullptr;
    QPushButton* FindButton = nullptr;
};
