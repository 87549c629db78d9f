#include "framework/TrackBar.h"

#include <algorithm>
#include <utility>

TTrackBar::TTrackBar(QWidget* owner) : QSlider(Qt::Horizontal, owner)
{
    setRange(0, 10);
    setSingleStep(1);
    setPageStep(2);
    setTickPosition(QSlider::TicksBelow);
    setTickInterval(1);
    setFocusPolicy(Qt::StrongFocus);
    // Qt applies a user's action to the value only after announcing it, so
    // the report waits until the input event has been handled in full.
    connect(this, &QAbstractSlider::actionTriggered, this, [this] { userReport_ = true; });
    connect(this, &QAbstractSlider::sliderReleased, this, [this] { userReport_ = true; });
}

void TTrackBar::SetMin(int min)
{
    if (min > maximum())
        return;
    const int before = value();
    setMinimum(min);
    ReportIfMoved(before);
}

void TTrackBar::SetMax(int max)
{
    if (max < minimum())
        return;
    const int before = value();
    setMaximum(max);
    ReportIfMoved(before);
}

void TTrackBar::SetPosition(int position)
{
    const int before = value();
    setValue(std::clamp(position, minimum(), maximum()));
    ReportIfMoved(before);
}

QString TTrackBar::ValueText() const { return valueText_ ? valueText_() : QString::number(value()); }

void TTrackBar::ReportIfMoved(int before)
{
    if (value() != before)
        emit OnChange();
}

bool TTrackBar::event(QEvent* event)
{
    const bool outerReport = std::exchange(userReport_, false);
    const bool handled = QSlider::event(event);
    if (std::exchange(userReport_, outerReport))
        emit OnChange();
    return handled;
}
