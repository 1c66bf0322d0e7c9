// "Areal under graf": the curve, what the area lies against ("x-aksen" or a second curve) and the two x limits,
// typed or taken from two clicks in the graph.
#pragma once

#include <QDialog>

class QComboBox;
class QLineEdit;
class QLabel;

class AreaDialog : public QDialog {
    Q_OBJECT
public:
    explicit AreaDialog(QWidget* parent = nullptr);

    // The page's curves by name, with the curve chosen first; limits empty when none are known yet.
    void fill(const QStringList& curves, int chosen, const QString& from, const QString& to);
    int curve() const;
    // -1: the x axis; otherwise the second curve's place in the list given to fill().
    int other() const;
    // A limit as typed in the locale's format (a decimal comma in Danish); false when it is no number.
    bool limits(double& from, double& to) const;
    void showError(const QString& text);

signals:
    // "Vælg i grafen": the limits come from two clicks instead.
    void pickInGraph();

private:
    QComboBox* curve_;
    QComboBox* other_;
    QLineEdit* from_;
    QLineEdit* to_;
    QLabel* error_;
};
