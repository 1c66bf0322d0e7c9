// A small drawing of a fit: the data table's points and the fitted model's curve over them.
#pragma once

#include <QVector>
#include <QWidget>

class FitPreview : public QWidget {
    Q_OBJECT
public:
    explicit FitPreview(QWidget* parent = nullptr);

    void setData(const QVector<double>& x, const QVector<double>& y);
    const QVector<double>& dataY() const { return dataY_; }
    // The model's values; an empty curve draws the data alone.
    void setCurve(const QVector<double>& t, const QVector<double>& y);
    int curvePointCount() const { return static_cast<int>(curveT_.size()); }
    QSize sizeHint() const override { return {320, 200}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QVector<double> dataX_;
    QVector<double> dataY_;
    QVector<double> curveT_;
    QVector<double> curveY_;
};
