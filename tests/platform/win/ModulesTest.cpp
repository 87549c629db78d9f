// The module loader: the folders looked in, in order, past what is missing
// or cannot be loaded, and what it says when nothing loads.
#include "platform/win/Modules.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

constexpr char Module[] = "kolvi_lyrics_module.so";
constexpr char Entry[] = "KolviLyricsReaders";

// The folders the test program was given (the build's), for its scope.
class ModuleFolders : public ::testing::Test {
protected:
    ModuleFolders() : build_(chooseModuleFolders({})) { chooseModuleFolders(build_); }
    ~ModuleFolders() override { chooseModuleFolders(build_); }

    QStringList build_;
    QTemporaryDir broken_;  // holds a "module" that is only text
};

TEST_F(ModuleFolders, TheFirstFolderWithALoadableModuleGivesItsEntryElseTheReasonItDidNot)
{
    ASSERT_FALSE(build_.isEmpty()) << "the tests are given the build's module folder";
    QFile text(broken_.filePath(Module));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly) && text.write("not a shared object") > 0);
    text.close();
    const QString broken = broken_.path();
    const struct {
        const char* what;
        QStringList folders;
        const char* entry;
        bool found;
        bool failureSaid;
    } rows[] = {
        {"the build's folder", build_, Entry, true, false},
        {"past a broken copy", QStringList{broken} + build_, Entry, true, false},
        {"no folder but the test program's own", {}, Entry, false, false},
        {"only a broken copy", {broken}, Entry, false, true},
        {"no such entry", build_, "NoSuchEntry", false, true},
    };
    for (const auto& row : rows) {
        chooseModuleFolders(row.folders);
        const ModuleEntry module = loadModuleEntry(QString::fromLatin1(Module), row.entry);
        EXPECT_EQ(module.entry != nullptr, row.found) << row.what;
        EXPECT_EQ(!module.failure.isEmpty(), row.failureSaid) << row.what << ": " << module.failure.toStdString();
    }
}

}  // namespace
