// The coordinates dialog ("Indtast koordinater"): the sixteen coordinate-setting texts of a script page.
#pragma once

#include "support/CoordinateSettings.h"
#include "support/DocumentFile.h"

#include "workspace/CheckedDialog.h"

#include <array>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

class CoordinatesDialog : public CheckedDialog {
    Q_OBJECT
public:
    explicit CoordinatesDialog(QWidget* parent = nullptr);

    // Fills the fields from texts (Windows-1252) and asks; on OK stores the sixteen texts back and returns true.
    bool edit(tavlix::SettingsTexts& texts);

    // Fills the fields as an opening does, without showing the dialog.
    void load(const tavlix::SettingsTexts& texts);
    // The texts of the fields (Windows-1252).
    tavlix::SettingsTexts texts() const;

    // The edit field of one setting.
    QLineEdit* field(tavlix::Setting s) const { return fields_[static_cast<std::size_t>(s)]; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private slots:
    void onTFollowsXToggled();
    void onOk();

private:
    void resetForShow();
    // Checks the expression of a field being left and shows its value; with t following x, t copies it.
    void checkField(QLineEdit* field);
    void checkExpression(QLineEdit* field);
    bool checkRange(QLineEdit* minField, QLineEdit* maxField);
    void beep();
    void moveFocus(QWidget* target);

    // The edit fields in the stored order of the settings, indexed by Setting.
    std::array<QLineEdit*, tavlix::SettingCount> fields_{};
    QPushButton* okButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    QCheckBox* tFollowsXBox_ = nullptr;
    // The value of the field just left, or what is wrong.
    QLabel* messageLabel_ = nullptr;
    bool restoringFocus_ = false;
    QLineEdit* checkedField_ = nullptr;
    QString checkedText_;
};
