// The uri-list forms that senders actually produce, and the malformed ones.
#include "platform/shell/UriList.h"

#include <gtest/gtest.h>

using Files = std::vector<std::string>;

TEST(UriList, FileUriFormsAndLineEnds)
{
    EXPECT_EQ(localFilesOfUriList("file:///a/b.mp3"), Files{"/a/b.mp3"}) << "no line end after the last URI";
    EXPECT_EQ(localFilesOfUriList("FILE:///a/1.mp3\nFile://LOCALHOST/a/2.mp3\r\nfile:/a/3.mp3\r\n\r\n"),
              (Files{"/a/1.mp3", "/a/2.mp3", "/a/3.mp3"}));
    EXPECT_EQ(localFilesOfUriList("file:///a/x.mp3?query#fragment\r\nfile:///a/%3F%23.mp3\r\n"),
              (Files{"/a/x.mp3", "/a/?#.mp3"}));
    EXPECT_EQ(localFilesOfUriList(""), Files{});
}

TEST(UriList, PercentEscapesDecodeToBytesAndBrokenOnesStay)
{
    EXPECT_EQ(localFilesOfUriList("file:///%41%2f%2F%e3%80%80%fe\r\n"), Files{"/A//\xE3\x80\x80\xFE"});
    EXPECT_EQ(localFilesOfUriList("file:///100%\r\nfile:///a%4\r\nfile:///%zz%%41\r\n"),
              (Files{"/100%", "/a%4", "/%zz%A"}));
}

TEST(UriList, WhatCannotBeALocalFileIsLeftOut)
{
    EXPECT_EQ(localFilesOfUriList("file:relative.mp3\r\n"
                                  "file://\r\n"
                                  "file://host-only\r\n"
                                  "fileish:///a.mp3\r\n"
                                  "/plain/path.mp3\r\n"
                                  "#file:///commented.mp3\r\n"
                                  "file:///nul%00byte.mp3\r\n"
                                  "file:///kept.mp3\r\n"),
              Files{"/kept.mp3"});
}
