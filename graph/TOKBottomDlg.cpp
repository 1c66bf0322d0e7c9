// The drawing-size dialog ("Tegneområde"): width and height in centimetres for printing and copying.
#include "graph/TOKBottomDlg.h"

TOKBottomDlg* OKBottomDlg = nullptr;

TOKBottomDlg::TOKBottomDlg(QWidget* parent) : QDialog(parent) {}
bool TOKBottomDlg::Execute(double&, double&) { return false; }
bool TOKBottomDlg::ParseSize(const QString&, double&) { return false; }
void TOKBottomDlg::OKBtnClick() {}
void TOKBottomDlg::CancelBtnClick() {}
void TOKBottomDlg::done(int result) { QDialog::done(result); }
void TOKBottomDlg::showEvent(QShowEvent* event) { QDialog::showEvent(event); }
void TOKBottomDlg::closeEvent(QCloseEvent* event) { QDialog::closeEvent(event); }
