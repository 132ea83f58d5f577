#include "text/scratch_file.h"
#include "text/text_lines.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace quillora;

namespace {

TEST(ScratchFile, RoundTripsLinesAndLeavesNoFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ScratchFile file(dir.filePath(QStringLiteral("print.txt")));
    const struct {
        QString text;
        QStringList lines;
    } cases[] = {
        {QString(), {QString()}},
        {QStringLiteral("阿莫西林片 0.25g×24片\r\n    用法：0.5g 口服"),
         {QStringLiteral("阿莫西林片 0.25g×24片"), QStringLiteral("    用法：0.5g 口服")}},
        {QStringLiteral("€ 𠀀 㐀\r\n"), {QStringLiteral("€ 𠀀 㐀"), QString()}}, // outside GBK
        {QStringLiteral("a\nb"), {QStringLiteral("a"), QStringLiteral("b")}},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(file.roundTrip(c.text), c.lines) << c.text.toStdString();
        EXPECT_TRUE(file.lastError().isEmpty()) << file.lastError().toStdString();
        EXPECT_FALSE(QFile::exists(file.path()));
    }
}

TEST(ScratchFile, OverwritesLeftoverFile)
{
    QTemporaryDir dir;
    ScratchFile file(dir.filePath(QStringLiteral("zsk.txt")));
    QFile old(file.path());
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old line 1\r\nold line 2\r\nold line 3\r\n");
    old.close();
    EXPECT_EQ(file.roundTrip(QStringLiteral("新")), QStringList{QStringLiteral("新")});
    EXPECT_FALSE(QFile::exists(file.path()));
}

TEST(ScratchFile, FallsBackWhenFileCannotBeWritten)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("taken")));
    const QString text = QStringLiteral("第一行\r\n第二行");
    for (const char *name : {"missing/print.txt", "taken"}) { // no folder; a folder in the way
        ScratchFile file(dir.filePath(QString::fromLatin1(name)));
        EXPECT_EQ(file.roundTrip(text), splitScratchLines(text)) << name;
        EXPECT_FALSE(file.lastError().isEmpty()) << name;
    }
}

TEST(ScratchFile, FallsBackOnLoneSurrogate)
{
    QTemporaryDir dir;
    ScratchFile file(dir.filePath(QStringLiteral("print.txt")));
    const QString text = QString(QChar(0xD800)) + QStringLiteral("x");
    EXPECT_EQ(file.roundTrip(text), QStringList{text});
    EXPECT_FALSE(QFile::exists(file.path()));
}

TEST(ScratchFile, ErrorClearsOnSuccess)
{
    QTemporaryDir dir;
    ScratchFile broken(dir.filePath(QStringLiteral("missing/print.txt")));
    broken.roundTrip(QStringLiteral("x"));
    ASSERT_FALSE(broken.lastError().isEmpty());
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("missing")));
    broken.roundTrip(QStringLiteral("x"));
    EXPECT_TRUE(broken.lastError().isEmpty());
}

} // namespace
