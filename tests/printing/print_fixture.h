#pragma once

#include "data/settings_record.h"
#include "printing/recording_printer.h"

#include <QDir>
#include <QTemporaryDir>
#include <array>

#include <gtest/gtest.h>

namespace quillora::test {

// A data folder for print.txt, the form's fonts mapped, and a recorder to print on.
class PrintTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite();
    QString scratchPath() const { return QDir(m_dir.path()).filePath(QStringLiteral("print.txt")); }
    QString filePath(const QString &name) const { return QDir(m_dir.path()).filePath(name); }

    QTemporaryDir m_dir;
    RecordingPrinter m_printer;
};

// The settings of a new installation: margins 10 mm, portrait, 宋体 12, the initial overlay items.
SettingsValues initialSettings();

// Lines joined with CR LF.
QString crlf(const QStringList &lines);
// n numbered lines "第1行" … with a blank line after every one.
QStringList numberedLinesWithBlanks(int n);

// Every printed text, empty ones included, in print order.
QStringList printedTexts(const RecordingPrinter &printer);

} // namespace quillora::test
