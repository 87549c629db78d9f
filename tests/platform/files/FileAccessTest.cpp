// The "_l" file calls on real files, with the results Windows gives.
#include "platform/files/FileAccess.h"
#include "tests/support/FileBytes.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(FileAccess, PositionedReadsOfARealFile)
{
    QTemporaryDir dir;
    const std::string path = dir.filePath("song.mp3").toStdString();
    writeFileBytes(path, "0123456789abcdef");
    const HFILE file = _lopen(path.c_str(), OF_READ);
    ASSERT_NE(file, HFILE_ERROR);
    EXPECT_EQ(_llseek(file, -6, FILE_END), 10);
    char buffer[16] = {};
    EXPECT_EQ(_lread(file, buffer, 4), 4u);
    EXPECT_EQ(std::string(buffer, 4), "abcd");
    EXPECT_EQ(_llseek(file, -1, FILE_CURRENT), 13);
    EXPECT_EQ(_lread(file, buffer, sizeof buffer), 3u) << "fewer bytes at the end of the file";
    EXPECT_EQ(std::string(buffer, 3), "def");
    EXPECT_EQ(_lread(file, buffer, sizeof buffer), 0u);
    EXPECT_EQ(_llseek(file, 2, FILE_BEGIN), 2);
    EXPECT_EQ(_llseek(file, -128, FILE_END), HFILE_ERROR) << "before the start of the file";
    EXPECT_EQ(_llseek(file, 0, 7), HFILE_ERROR);
    EXPECT_EQ(_lclose(file), 0);
    EXPECT_EQ(_lclose(HFILE_ERROR), HFILE_ERROR);
}

TEST(FileAccess, FailuresAnswerTheErrorValue)
{
    QTemporaryDir dir;
    EXPECT_EQ(_lopen(dir.filePath("absent.mp3").toStdString().c_str(), OF_READ), HFILE_ERROR);
    EXPECT_EQ(_lopen(nullptr, OF_READ), HFILE_ERROR);
    const HFILE folder = _lopen(dir.path().toStdString().c_str(), OF_READ);
    ASSERT_NE(folder, HFILE_ERROR);
    char buffer[8];
    EXPECT_EQ(_lread(folder, buffer, sizeof buffer), static_cast<UINT>(HFILE_ERROR)) << "a folder has no bytes";
    EXPECT_EQ(_lclose(folder), 0);
    EXPECT_EQ(_lread(HFILE_ERROR, buffer, sizeof buffer), static_cast<UINT>(HFILE_ERROR));
}
