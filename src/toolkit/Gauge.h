#pragma once

#include <QColor>
#include <QWidget>

namespace toolkit {

// A vertical bar gauge without text: the bar rises from the bottom in proportion to
// progress within [minValue, maxValue]. Progress outside the range is clamped to it.
class Gauge : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int minValue READ minValue WRITE setMinValue)
    Q_PROPERTY(int maxValue READ maxValue WRITE setMaxValue)
    Q_PROPERTY(int progress READ progress WRITE setProgress)
    Q_PROPERTY(QColor barColor READ barColor WRITE setBarColor)
    Q_PROPERTY(QColor backColor READ backColor WRITE setBackColor)

public:
    explicit Gauge(QWidget *parent = nullptr);

    int minValue() const { return min_; }
    void setMinValue(int value);
    int maxValue() const { return max_; }
    void setMaxValue(int value);
    int progress() const { return progress_; }
    void setProgress(int value);
    QColor barColor() const { return barColor_; }
    void setBarColor(const QColor &color);
    QColor backColor() const { return backColor_; }
    void setBackColor(const QColor &color);

    // Height in pixels of the bar inside the gauge's frame at the current progress.
    int barHeight() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int min_ = 0;
    int max_ = 100;
    int progress_ = 0;
    QColor barColor_{Qt::black};
    QColor backColor_{Qt::white};
};

} // namespace toolkit
