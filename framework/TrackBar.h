#pragma once
// A horizontal track bar with integer Min, Max and Position.
//
// - A position outside the range is clamped into it; a Max below Min, or a
//   Min above Max, is ignored.
// - OnChange fires on every movement report from the user (each drag step,
//   each arrow-key or page step, the end of a drag, even when the value did
//   not change), and when the program changes the position, including a
//   change of range that clamps it; setting a position equal to the current
//   one fires nothing.
// - An arrow key moves LineSize (1 unless set), Page Up/Down PageSize (2
//   unless set); ticks every Frequency units below.
// - ValueText is what assistive technology reads as its value (the
//   position's number when none is given).
#include <QSlider>
#include <QString>
#include <functional>

class TTrackBar : public QSlider {
    Q_OBJECT
    Q_PROPERTY(int Min READ Min WRITE SetMin)
    Q_PROPERTY(int Max READ Max WRITE SetMax)
    Q_PROPERTY(int Position READ Position WRITE SetPosition)
    Q_PROPERTY(int Frequency READ Frequency WRITE SetFrequency)
    Q_PROPERTY(int LineSize READ LineSize WRITE SetLineSize)
    Q_PROPERTY(int PageSize READ PageSize WRITE SetPageSize)
public:
    explicit TTrackBar(QWidget* owner = nullptr);

    int Min() const { return minimum(); }
    void SetMin(int min);
    int Max() const { return maximum(); }
    void SetMax(int max);
    int Position() const { return value(); }
    void SetPosition(int position);
    int Frequency() const { return tickInterval(); }
    void SetFrequency(int frequency) { setTickInterval(frequency); }
    int LineSize() const { return singleStep(); }
    void SetLineSize(int size) { setSingleStep(size); }
    int PageSize() const { return pageStep(); }
    void SetPageSize(int size) { setPageStep(size); }

    QString ValueText() const;
    void SetValueText(std::function<QString()> source) { valueText_ = std::move(source); }

Q_SIGNALS:
    void OnChange();

protected:
    bool event(QEvent* event) override;

private:
    void ReportIfMoved(int before);

    bool userReport_ = false;
    std::function<QString()> valueText_;
};
