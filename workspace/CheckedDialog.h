// A fixed-size modal dialog that checks what is typed and stays open while an entry it refused waits for a fix.
#pragma once

#include <QDialog>

class CheckedDialog : public QDialog {
    Q_OBJECT
public:
    // True while a refused entry keeps the dialog open.
    bool keepsOpen() const { return keepOpen_; }

public slots:
    // Closing with OK is refused while an entry is refused; Cancel always closes.
    void done(int result) override;

protected:
    explicit CheckedDialog(QWidget* parent);
    void closeEvent(QCloseEvent* event) override;
    void onCancel();

    bool keepOpen_ = false;
};
