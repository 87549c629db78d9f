#include "lyrics/LrcWriting.h"

#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#include <utility>

namespace {

QString Stamp(std::int64_t ms)
{
    ms = std::max<std::int64_t>(0, ms);
    return QStringLiteral("%1:%2.%3")
        .arg(ms / 60000, 2, 10, QChar(u'0'))
        .arg(ms / 1000 % 60, 2, 10, QChar(u'0'))
        .arg(ms / 10 % 100, 2, 10, QChar(u'0'));
}

QString LocalText(const std::string& bytes)
{
    return QString::fromLocal8Bit(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

class NewFile {
public:
    // O_EXCL: a file of that name already there is never touched.
    explicit NewFile(const std::string& path) : fd_(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644)) {}
    ~NewFile()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    NewFile(const NewFile&) = delete;
    NewFile& operator=(const NewFile&) = delete;
    int Get() const { return fd_; }
    bool Close()
    {
        const int fd = std::exchange(fd_, -1);
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

bool WriteAll(int fd, const QByteArray& bytes)
{
    qsizetype written = 0;
    while (written < bytes.size()) {
        const ssize_t done = ::write(fd, bytes.data() + written, static_cast<size_t>(bytes.size() - written));
        if (done < 0 && errno == EINTR)
            continue;
        if (done <= 0)
            return false;
        written += done;
    }
    return true;
}

}  // namespace

QString LrcText(const Lyrics& lyrics, std::int64_t offsetMs)
{
    QString text;
    for (const LyricLine& line : lyrics.lines) {
        if (!lyrics.synced) {
            text += line.text + u'\n';
            continue;
        }
        text += u'[' + Stamp(line.startMs - offsetMs) + u']';
        if (line.words.empty())
            text += line.text;
        for (std::size_t i = 0; i < line.words.size(); ++i)
            text += (i > 0 && !line.words[i - 1].text.endsWith(u' ') ? QStringLiteral(" <") : QStringLiteral("<"))
                + Stamp(line.words[i].startMs - offsetMs) + u'>' + line.words[i].text;
        text += u'\n';
    }
    return text;
}

QString SaveLrcBeside(const std::string& trackPath, const QString& text)
{
    const auto slash = trackPath.rfind('/');
    const auto dot = trackPath.rfind('.');
    const std::string base = dot != std::string::npos && (slash == std::string::npos || dot > slash)
                                 ? trackPath.substr(0, dot) : trackPath;
    const std::string path = base + ".lrc";
    const QString name = LocalText(path.substr(slash == std::string::npos ? 0 : slash + 1));
    NewFile file(path);
    if (file.Get() < 0) {
        if (errno == EEXIST)
            return QStringLiteral("같은 이름의 가사 파일(%1)이 이미 있어 저장하지 않았습니다").arg(name);
        const QString folder = LocalText(slash == std::string::npos ? std::string(".") : trackPath.substr(0, slash));
        return QStringLiteral("%1 폴더에 가사 파일을 저장할 수 없습니다: %2")
            .arg(folder, QString::fromLocal8Bit(std::strerror(errno)));
    }
    if (!WriteAll(file.Get(), text.toUtf8()) || !file.Close()) {
        const int error = errno;
        ::unlink(path.c_str());
        return QStringLiteral("가사 파일(%1)을 다 쓰지 못해 지웠습니다: %2")
            .arg(name, QString::fromLocal8Bit(std::strerror(error)));
    }
    return QStringLiteral("가사를 %1 파일로 저장했습니다").arg(name);
}
