// The coordinates dialog ("Indtast koordinater"): the sixteen coordinate-setting texts of a script page.
#include "graph/TKoordinater.h"

TKoordinater* Koordinater = nullptr;

TKoordinater::TKoordinater(QWidget* parent) : QDialog(parent) {}
bool TKoordinater::Execute(SettingsTexts&) { return false; }
void TKoordinater::Load(const SettingsTexts&) {}
SettingsTexts TKoordinater::Texts() const { return {}; }
void TKoordinater::FormActivate() {}
void TKoordinater::AllExit(QLineEdit*) {}
void TKoordinater::XminExit() {}
void TKoordinater::XmaxExit() {}
void TKoordinater::TsomXClick() {}
void TKoordinater::OKBtnClick() {}
void TKoordinater::CancelBtnClick() {}
bool TKoordinater::CheckMinMax(QLineEdit*, QLineEdit*) { return true; }
void TKoordinater::done(int result) { QDialog::done(result); }
bool TKoordinater::eventFilter(QObject* watched, QEvent* event) { return QDialog::eventFilter(watched, event); }
void TKoordinater::showEvent(QShowEvent* event) { QDialog::showEvent(event); }
void TKoordinater::closeEvent(QCloseEvent* event) { QDialog::closeEvent(event); }
void TKoordinater::FieldExit(QLineEdit*) {}
void TKoordinater::Beep() {}
