// The per-user install, as the README tells a user to make it, into a
// fresh prefix: the desktop entry and the metainfo pass the desktop's own
// validators, the icon is there at every size, and the installed copy
// started from its bin link runs with its List.lst in lib/kolviplayer.
#include "tests/support/ChildProcess.h"
#include "tests/support/FileBytes.h"
#include "tests/support/executable/PlayerProcess.h"
#include "tests/support/executable/WindowFacts.h"

#include <QDirIterator>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <set>
#include <sstream>

namespace {

const std::string CrCrLf = "\r\r\n";

// The value of key in a desktop entry's text; empty when it has none.
std::string entryValue(const std::string& entry, const std::string& key)
{
    const std::string prefix = "\n" + key + "=";
    const std::size_t at = ("\n" + entry).find(prefix);
    if (at == std::string::npos)
        return {};
    const std::size_t start = at + prefix.size() - 1;
    return entry.substr(start, entry.find('\n', start) - start);
}

TEST(Install, AUserInstallIsValidAndRunsFromItsBinLink)
{
    QTemporaryDir prefixDir;
    const std::string prefix = prefixDir.filePath("local dir").toStdString();
    ASSERT_EQ(runProgram({"cmake", "--install", KOLVI_BUILD_DIR, "--prefix", prefix}), 0);

    const std::string id = KOLVI_APP_ID;
    const std::string entryFile = prefix + "/share/applications/" + id + ".desktop";
    const std::string metainfo = prefix + "/share/metainfo/" + id + ".metainfo.xml";
    EXPECT_EQ(runProgram({"desktop-file-validate", entryFile}), 0);
    EXPECT_EQ(runProgram({"appstreamcli", "validate", "--no-net", metainfo}), 0);

    const std::string entry = readFileBytes(entryFile);
    EXPECT_EQ(entryValue(entry, "Exec"), "\"" + prefix + "/bin/kolviplayer\"") << "the program, without file arguments";
    EXPECT_EQ(entryValue(entry, "Categories"), "AudioVideo;Audio;Player;");
    EXPECT_EQ(entryValue(entry, "Icon"), id);
    EXPECT_FALSE(entryValue(entry, "Comment").empty());
    EXPECT_FALSE(entryValue(entry, "Comment[ko]").empty());
    EXPECT_EQ(entryValue(entry, "MimeType"), "audio/mpeg;audio/x-mp3;");
    EXPECT_EQ(entryValue(entry, "DBusActivatable"), "true");
    EXPECT_EQ(readFileBytes(prefix + "/share/dbus-1/services/" + id + ".service"),
              "[D-BUS Service]\nName=" + id + "\nExec=\"" + prefix + "/bin/kolviplayer\"\n")
        << "the bus starts the installed program";
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString icon = QString::fromStdString(prefix + "/share/icons/hicolor/") + QString("%1x%1/apps/").arg(size) +
                             QString::fromStdString(id) + ".png";
        EXPECT_EQ(QImage(icon).size(), QSize(size, size)) << icon.toStdString();
    }

    const QFileInfo link(QString::fromStdString(prefix + "/bin/kolviplayer"));
    ASSERT_TRUE(link.isSymLink());
    const std::string folder = prefix + "/lib/kolviplayer/";
    EXPECT_EQ(link.canonicalFilePath().toStdString(), QFileInfo(QString::fromStdString(folder + "kolviplayer")).canonicalFilePath().toStdString());
    EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(folder + "kolvi_webengine.so")));

    // The index in hexadecimal reads as 1 and is written back in decimal:
    // only a run that read this List.lst and saved it again changes it.
    writeFileBytes(folder + "List.lst", "0x1" + CrCrLf + "/music/a.mp3" + CrCrLf + "/music/b.mp3" + CrCrLf);
    QProcess program;
    auto environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "xcb");
    program.setProcessEnvironment(environment);
    program.setProcessChannelMode(QProcess::ForwardedChannels);
    program.start(link.filePath(), {});
    const auto window = waitForWindow("KolviPlayer");
    ASSERT_TRUE(window.has_value());
    EXPECT_EQ(windowClass(*window), "\"kolviplayer\", \"" + entryValue(entry, "StartupWMClass") + "\"")
        << "the desktop matches the window to its entry";
    runHelper({"close", QString::number(window->id)});
    ASSERT_TRUE(program.waitForFinished(30000));
    EXPECT_EQ(program.exitCode(), 0);
    EXPECT_EQ(readFileBytes(folder + "List.lst"), "1" + CrCrLf + "/music/a.mp3" + CrCrLf + "/music/b.mp3" + CrCrLf);
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(prefix + "/bin/List.lst")));
}

TEST(Install, TheManifestListsEveryInstalledFileSoRemovingThemUninstallsAll)
{
    QTemporaryDir prefixDir;
    const std::string prefix = prefixDir.filePath("prefix").toStdString();
    ASSERT_EQ(runProgram({"cmake", "--install", KOLVI_BUILD_DIR, "--prefix", prefix}), 0);
    std::set<std::string> installed;
    for (QDirIterator it(QString::fromStdString(prefix), QDir::Files | QDir::System | QDir::Hidden,
                         QDirIterator::Subdirectories);
         it.hasNext();)
        installed.insert(it.next().toStdString());
    std::set<std::string> listed;
    const std::string manifestFile = KOLVI_BUILD_DIR "/install_manifest.txt";
    std::istringstream manifest(readFileBytes(manifestFile));
    for (std::string line; std::getline(manifest, line);)
        listed.insert(line);
    EXPECT_EQ(listed, installed);
    EXPECT_TRUE(installed.count(prefix + "/bin/kolviplayer"));
    const std::string entry = prefix + "/share/applications/" KOLVI_APP_ID ".desktop";
    EXPECT_TRUE(installed.count(entry));
}

}  // namespace
