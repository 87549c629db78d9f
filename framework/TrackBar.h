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
// - An arrow key moves 1, a page step 2; ticks every Frequency units below.
#include <QSlider>

class TTrackBar : public QSlider {
    Q_OBJECT
    Q_PROPERTY(int Min READ Min WRITE SetMin)
    Q_PROPERTY(int Max READ Max WRITE SetMax)
    Q_PROPERTY(int Position READ Position WRITE SetPosition)
    Q_PROPERTY(int Frequency READ Frequency WRITE SetFrequency)
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

Q_SIGNALS:
    void OnChange();

protected:
    bool event(QEvent* event) override;

private:
    void ReportIfMoved(int before);

    bool userReport_ = false;
};
