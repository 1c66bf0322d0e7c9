// The coordinates dialog ("Indtast koordinater"): the sixteen coordinate-setting texts of a script page.
#pragma once

#include "support/DocumentFile.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

class TKoordinater : public QDialog {
    Q_OBJECT
public:
    explicit TKoordinater(QWidget* parent = nullptr);

    // Fills the fields from texts (Windows-1252) and asks; on OK stores the sixteen texts back and returns true.
    bool Execute(tavlix::SettingsTexts& texts);

    // The edit fields in the stored order of the settings (Xmin … YGitter).
    QLineEdit* Fields[16] = {};
    QLineEdit *Xmin, *Xmax, *XEnhed, *YCross, *YMin, *YMax, *YEnhed, *XCross;
    QLineEdit *TMin, *TMax, *TAntal, *TDelta, *Absolut, *Relativ, *XGitter, *YGitter;
    QPushButton* OKBtn = nullptr;
    QPushButton* CancelBtn = nullptr;
    QCheckBox* TsomX = nullptr;
    QLabel* Error = nullptr;

    enum CloseAction { Hide, LeaveOpen };
    CloseAction closeAction = Hide;

    // Fills the fields as an opening does, without showing the dialog.
    void Load(const tavlix::SettingsTexts& texts);
    // The texts of the fields (Windows-1252).
    tavlix::SettingsTexts Texts() const;

    void FormActivate();
    void AllExit(QLineEdit* field);
    void XminExit();
    void XmaxExit();
    void TsomXClick();
    void OKBtnClick();
    void CancelBtnClick();
    bool CheckMinMax(QLineEdit* minField, QLineEdit* maxField);

public slots:
    void done(int result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void FieldExit(QLineEdit* field);
    void Beep();
    void MoveFocus(QWidget* target);
    bool restoringFocus = false;
    QLineEdit* checkedField = nullptr;
    QString checkedText;
};

extern TKoordinater* Koordinater;
