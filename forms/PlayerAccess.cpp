#include "forms/PlayerAccess.h"

#include "forms/TfrmKolviPlayer.h"

namespace {

void Describe(QWidget* control, const QString& name, const QString& description)
{
    control->setAccessibleName(name);
    control->setAccessibleDescription(description);
}

}  // namespace

QString PercentText(int position, int minimum, int maximum)
{
    const long long range = static_cast<long long>(maximum) - minimum;
    const long long percent = range <= 0 ? 0 : ((static_cast<long long>(position) - minimum) * 100 + range / 2) / range;
    return QString::number(percent) + QLatin1Char('%');
}

void DescribeForAssistiveTechnology(TfrmKolviPlayer& window)
{
    window.setAccessibleDescription(QStringLiteral("MP3 플레이어"));
    Describe(window.TrackVol, QStringLiteral("음량"),
             QStringLiteral("스피커 음량. 화살표 키는 5%, Page Up·Page Down 키는 20%씩 바꿉니다."));
    Describe(window.TrackPos, QStringLiteral("재생 위치"),
             QStringLiteral("재생 중인 곡의 위치. 화살표 키는 5초, Page Up·Page Down 키는 30초씩 옮깁니다."));
    Describe(window.lvFileList, QStringLiteral("MP3 파일 목록"),
             QStringLiteral("재생 목록. Enter 키로 재생, Delete 키로 삭제합니다."));
    // The captions beside the sliders label them for a screen reader too.
    window.Label1->setBuddy(window.TrackVol);
    window.Label2->setBuddy(window.TrackPos);
    TTrackBar* volume = window.TrackVol;
    volume->SetValueText([volume] { return PercentText(volume->Position(), volume->Min(), volume->Max()); });
}
