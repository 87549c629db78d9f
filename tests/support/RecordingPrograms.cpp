#include "tests/support/RecordingPrograms.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <stdexcept>

namespace {

// Each start writes "<name>\n<folder>\n" and its arguments, NUL-terminated,
// to a file of its own, complete before it is given its final name. Then it
// waits for the release file (at most a minute) and notes that it ended.
constexpr char Script[] = R"sh(#!/bin/sh
dir='@DIR@'
record="$dir/records/start.$$"
{ printf '%s\n%s\n' '@NAME@' "$(pwd)"; for a in "$@"; do printf '%s\0' "$a"; done; } > "$record.part"
mv "$record.part" "$record"
i=0
while [ ! -e "$dir/release" ] && [ $i -lt 600 ]; do sleep 0.1; i=$((i + 1)); done
touch "$dir/records/end.$$"
)sh";

}  // namespace

RecordingPrograms::RecordingPrograms(const std::vector<std::string>& names)
    : path_("PATH", dir_.filePath("bin").toStdString() + ":" + qgetenv("PATH").toStdString())
{
    if (!dir_.isValid() || !QDir(dir_.path()).mkpath("records") || !QDir(dir_.path()).mkpath("bin"))
        throw std::runtime_error("cannot make a folder for recording programs");
    for (const std::string& name : names) {
        QByteArray text(Script);
        text.replace("@DIR@", dir_.path().toUtf8()).replace("@NAME@", QByteArray::fromStdString(name));
        QFile file(dir_.filePath("bin/" + QString::fromStdString(name)));
        if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size())
            throw std::runtime_error("cannot write the recording program " + name);
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
}

RecordingPrograms::~RecordingPrograms()
{
    release();
    // Give released scripts the chance to finish before their folder goes.
    const int started = static_cast<int>(starts().size());
    (void)QTest::qWaitFor([&] { return finished() >= started; }, 10000);
}

std::vector<ProgramStart> RecordingPrograms::starts() const
{
    std::vector<ProgramStart> found;
    const QDir records(dir_.filePath("records"));
    for (const QString& name : records.entryList({"start.*"}, QDir::Files)) {
        if (name.endsWith(".part"))
            continue;
        QFile file(records.filePath(name));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        ProgramStart start;
        const auto line = [&file] {
            QByteArray text = file.readLine();
            if (text.endsWith('\n'))
                text.chop(1);
            return text.toStdString();
        };
        start.program = line();
        start.workingFolder = line();
        const QByteArray rest = file.readAll();
        qsizetype from = 0;
        for (qsizetype end = rest.indexOf('\0'); end >= 0; end = rest.indexOf('\0', from)) {
            start.arguments.push_back(rest.mid(from, end - from).toStdString());
            from = end + 1;
        }
        found.push_back(start);
    }
    return found;
}

bool RecordingPrograms::waitForStarts(std::size_t count, int limitMs) const
{
    return QTest::qWaitFor([&] { return starts().size() >= count; }, limitMs);
}

int RecordingPrograms::finished() const
{
    return static_cast<int>(QDir(dir_.filePath("records")).entryList({"end.*"}, QDir::Files).size());
}

void RecordingPrograms::release() const
{
    QFile(dir_.filePath("release")).open(QIODevice::WriteOnly);
}
