// The drawing-size dialog ("Tegneområde"): width and height in centimetres for printing and copying.
#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QFrame;

class TOKBottomDlg : public QDialog {
    Q_OBJECT
public:
    explicit TOKBottomDlg(QWidget* parent = nullptr);

    // Shows the sizes (formatNumber(8, …)) and asks; on OK stores the typed sizes and returns true.
    bool Execute(double& widthCm, double& heightCm);

    // A size text as a number: decimal comma or point; false when it is not a number above 0.
    static bool ParseSize(const QString& text, double& value);

    QLabel* Label1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QLabel* Label4 = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* CancelBtn = nullptr;
    QFrame* Bevel1 = nullptr;

    enum CloseAction { Hide, LeaveOpen };
    CloseAction closeAction = Hide;

    void OKBtnClick();
    void CancelBtnClick();

public slots:
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
};

extern TOKBottomDlg* OKBottomDlg;
