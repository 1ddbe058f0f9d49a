#ifndef HISTOGRAMVIEW_H
#define HISTOGRAMVIEW_H

#include <QString>
#include <QVector>
#include <QWidget>

#include <optional>

// The histogram of the figure chosen in the batch view, drawn as the batch report draws it.
class HistogramView : public QWidget
{
    Q_OBJECT

public:
    explicit HistogramView(QWidget *parent = nullptr);

    void showFigure(const QString &title, const QVector<int> &values, std::optional<int> lower,
                    std::optional<int> upper);
    const QString &shownTitle() const { return title; }
    const QVector<int> &shownValues() const { return values; }

    QSize sizeHint() const override { return QSize(360, 220); }
    QSize minimumSizeHint() const override { return QSize(200, 140); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString title;
    QVector<int> values;
    std::optional<int> lower;
    std::optional<int> upper;
};

#endif // HISTOGRAMVIEW_H
