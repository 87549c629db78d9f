#include "lyrics/LyricsPages.h"

namespace {

// The web engine carries a page of its own as a percent-encoded address of
// at most 2 MB; the lines of a page stay well below that.
constexpr qsizetype LinesBudget = 1500 * 1024;

const char* const Style = R"(
body { font-family: "NanumGothic", "Noto Sans CJK KR", sans-serif; font-size: 14px; margin: 0;
       padding: 14px 16px 40vh; background: #fbfaf6; color: #222; line-height: 1.6; }
h1 { font-size: 18px; margin: 0 0 2px; }
h2 { font-size: 14px; margin: 18px 0 4px; }
.singer { color: #666; margin: 0 0 14px; }
.note { color: #777; font-size: 12px; margin-top: 18px; }
.lyrics p { margin: 0; padding: 1px 6px; border-radius: 4px; white-space: pre-wrap; }
.lyrics.synced p { color: #666; }
.lyrics p.now { background: #ffe58f; color: #000; font-weight: bold; }
.lyrics p.now .w { color: #8c7a3c; }
.lyrics p.now .w.sung { color: #000; }
.lyrics a { color: inherit; text-decoration: none; display: block; }
.lyrics a:hover { text-decoration: underline; }
ul { padding-left: 20px; margin: 4px 0; }
table.choices { border-collapse: collapse; width: 100%; }
.choices th { text-align: left; font-weight: normal; color: #666; border-bottom: 1px solid #ccc; padding: 2px 6px; }
.choices td { padding: 0; border-bottom: 1px solid #eee; }
.choices a { color: inherit; text-decoration: none; display: block; padding: 3px 6px; }
.choices tr:hover td { background: #ffe58f; }
)";

QString Page(const QString& body)
{
    return QStringLiteral("<!DOCTYPE html><html lang=\"ko\"><head><meta charset=\"utf-8\">"
                          "<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'none'; "
                          "style-src 'unsafe-inline'; base-uri 'none'; form-action 'none'\">"
                          "<meta name=\"referrer\" content=\"no-referrer\"><title>가사보기</title><style>")
        + QString::fromUtf8(Style) + QStringLiteral("</style></head><body>") + body
        + QStringLiteral("</body></html>");
}

// A tag may hold a title of any length; a heading shows the start of it.
QString Name(const QString& name)
{
    constexpr qsizetype Longest = 300;
    return EscapeHtml(name.size() > Longest ? name.first(Longest) + u'…' : name);
}

QString Heading(const TrackNames& names)
{
    const QString singer = names.singer.trimmed().isEmpty() ? QStringLiteral("가수 정보 없음") : Name(names.singer);
    return QStringLiteral("<h1>") + Name(names.title) + QStringLiteral("</h1><p class=\"singer\">") + singer
        + QStringLiteral("</p>");
}

// "3:07"; "?" when unknown.
QString MinutesAndSeconds(int seconds)
{
    return seconds > 0 ? QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QChar(u'0'))
                       : QStringLiteral("?");
}

QString PlaceList(const QStringList& places)
{
    QString list = QStringLiteral("<ul>");
    for (const QString& place : places)
        list += QStringLiteral("<li>") + EscapeHtml(place) + QStringLiteral("</li>");
    return list + QStringLiteral("</ul>");
}

// What the line costs in the engine's percent-encoded page address.
qsizetype EncodedCost(const QString& html)
{
    qsizetype cost = 0;
    for (char byte : html.toUtf8())
        cost += (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') || (byte >= '0' && byte <= '9') ? 1 : 3;
    return cost;
}

}  // namespace

QString EscapeHtml(QStringView text)
{
    QString escaped;
    escaped.reserve(text.size() + text.size() / 8);
    for (QChar c : text) {
        switch (c.unicode()) {
        case u'&': escaped += QStringLiteral("&amp;"); break;
        case u'<': escaped += QStringLiteral("&lt;"); break;
        case u'>': escaped += QStringLiteral("&gt;"); break;
        case u'"': escaped += QStringLiteral("&quot;"); break;
        case u'\'': escaped += QStringLiteral("&#39;"); break;
        default:
            if (c.unicode() >= 0x20 || c == u'\t')
                escaped += c;
        }
    }
    return escaped;
}

QString LineElementId(int line)
{
    return QStringLiteral("l%1").arg(line);
}

QString IndexPageHtml()
{
    return Page(QStringLiteral(
        "<h1>가사보기</h1><p>노래를 재생하면 그 노래의 가사가 여기에 나타납니다.</p>"
        "<p class=\"note\">가사 서비스에 연결할 수 없어, 노래 파일 옆의 가사 파일(.lrc, .txt), 노래 파일의 "
        "ID3v2 태그, 온라인 가사 데이터베이스 LRCLIB에서 차례로 가사를 찾아 보여 드립니다. "
        "시간 정보가 있는 가사는 지금 부르는 줄이 강조됩니다.</p>"));
}

QString SearchingPageHtml(const TrackNames& names, const QStringList& placesLooked)
{
    return Page(Heading(names)
                + QStringLiteral("<p>온라인 가사 데이터베이스 LRCLIB에서 가사를 찾고 있습니다…</p>"
                                 "<h2>이미 찾아본 곳</h2>")
                + PlaceList(placesLooked));
}

QString ChoicesPageHtml(const TrackNames& names, int lengthSeconds, const std::vector<OnlineRecord>& choices,
                        const QString& choiceLinks, bool listenerAsked)
{
    QString body = Heading(names);
    if (listenerAsked)
        body += QStringLiteral("<p>온라인 가사 데이터베이스 LRCLIB에서 찾은 가사입니다. 이 노래의 가사를 골라 주세요.</p>");
    else
        body += QStringLiteral("<p>온라인 가사 데이터베이스 LRCLIB에 이 노래의 길이(%1)에 맞는 가사가 없습니다. "
                               "이 노래의 가사를 골라 주세요.</p>")
                    .arg(MinutesAndSeconds(lengthSeconds));
    body += QStringLiteral("<table class=\"choices\"><tr><th>제목</th><th>가수</th><th>앨범</th><th>길이</th>"
                           "<th>시간 정보</th></tr>");
    for (std::size_t i = 0; i < choices.size(); ++i) {
        const OnlineRecord& record = choices[i];
        const QString kind = record.lyrics.synced ? QStringLiteral("있음")
            : record.lyrics.lines.empty()         ? QStringLiteral("연주곡")
                                                  : QStringLiteral("없음");
        const QString link = QStringLiteral("<td><a href=\"") + EscapeHtml(choiceLinks) + QString::number(i)
            + QStringLiteral("\">");
        body += QStringLiteral("<tr id=\"c%1\">").arg(i);
        for (const QString& cell : {Name(record.title), Name(record.singer), Name(record.album),
                                    MinutesAndSeconds(qRound(record.lengthSeconds)), kind})
            body += link + (cell.isEmpty() ? QStringLiteral("&nbsp;") : cell) + QStringLiteral("</a></td>");
        body += QStringLiteral("</tr>");
    }
    body += QStringLiteral("</table><p class=\"note\">고른 가사는 이 노래에 기억해 두었다가 다음에도 보여 드립니다. "
                           "다른 가사를 고르려면 Ctrl+F를 누르세요.</p>");
    return Page(body);
}

QString NotFoundPageHtml(const TrackNames& names, const QStringList& placesLooked)
{
    const QString singer = names.singer.trimmed().isEmpty() ? QStringLiteral("(가수 정보 없음)") : Name(names.singer);
    return Page(QStringLiteral("<h1>가사를 찾지 못했습니다</h1><p>찾은 노래: 제목 <b>") + Name(names.title)
                + QStringLiteral("</b>, 가수 <b>") + singer + QStringLiteral("</b></p><h2>찾아본 곳</h2>")
                + PlaceList(placesLooked));
}

QString LyricsPageHtml(const TrackNames& names, const FoundLyrics& found, const QString& lineLinks)
{
    const Lyrics& lyrics = found.lyrics;
    QString body = Heading(names);
    if (lyrics.instrumental && lyrics.lines.empty()) {
        body += QStringLiteral("<p>이 노래는 가사가 없는 연주곡입니다.</p>");
    } else {
        body += lyrics.synced ? QStringLiteral("<div class=\"lyrics synced\">") : QStringLiteral("<div class=\"lyrics\">");
        qsizetype spent = 0;
        bool shortened = lyrics.cut;
        for (std::size_t i = 0; i < lyrics.lines.size(); ++i) {
            const QString& text = lyrics.lines[i].text;
            QString words = text.isEmpty() ? QStringLiteral("&nbsp;") : EscapeHtml(text);
            if (lyrics.synced && !lyrics.lines[i].words.empty()) {
                words.clear();
                for (const LyricWord& word : lyrics.lines[i].words)
                    words += QStringLiteral("<span class=\"w\">") + EscapeHtml(word.text) + QStringLiteral("</span>");
            }
            if (lyrics.synced && !lineLinks.isEmpty())
                words = QStringLiteral("<a href=\"") + EscapeHtml(lineLinks) + QString::number(i) + QStringLiteral("\">")
                    + words + QStringLiteral("</a>");
            const QString line = QStringLiteral("<p id=\"") + LineElementId(static_cast<int>(i)) + QStringLiteral("\">")
                + words + QStringLiteral("</p>");
            spent += EncodedCost(line);
            if (spent > LinesBudget) {
                shortened = true;
                break;
            }
            body += line;
        }
        body += QStringLiteral("</div>");
        if (shortened)
            body += QStringLiteral("<p class=\"note\">가사가 너무 길어 앞부분만 보여 드립니다.</p>");
    }
    body += QStringLiteral("<p class=\"note\">가사 출처: ") + EscapeHtml(found.source) + QStringLiteral("</p>");
    return Page(body);
}

QString HighlightScript(LineGroup group, const std::vector<int>& wordsSung, bool scroll)
{
    QStringList sung;
    for (int count : wordsSung)
        sung.append(QString::number(count));
    return QStringLiteral(
               "(function (first, last, sung, scroll) {"
               " document.querySelectorAll('.lyrics p.now').forEach(function (p) { p.classList.remove('now'); });"
               " var top = null, bottom = null;"
               " for (var i = first; i <= last && i >= 0; ++i) {"
               "  var p = document.getElementById('l' + i); if (!p) break;"
               "  p.classList.add('now'); var r = p.getBoundingClientRect();"
               "  p.querySelectorAll('.w').forEach(function (w, j) { w.classList.toggle('sung', j < (sung[i - first] || 0)); });"
               "  if (top === null) top = r.top; bottom = r.bottom;"
               " }"
               " if (top === null || !scroll) return;"
               " var shift = bottom - top > innerHeight ? top : (top + bottom - innerHeight) / 2;"
               " scrollBy({top: shift, behavior: 'smooth'});"
               "})(%1, %2, [%3], %4);")
        .arg(group.first)
        .arg(group.last)
        .arg(sung.join(u','))
        .arg(scroll ? QStringLiteral("true") : QStringLiteral("false"));
}
