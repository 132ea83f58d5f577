#include "text/scratch_file.h"

#include "text/text_lines.h"

#include <QFile>
#include <QStringDecoder>
#include <QStringEncoder>

#include <utility>

namespace quillora {

namespace {
constexpr const char *kEncoding = "GB18030";
}

ScratchFile::ScratchFile(QString path) : m_path(std::move(path)) {}

QStringList ScratchFile::roundTrip(const QString &text)
{
    m_lastError.clear();
    QStringList lines;
    const bool ok = write(text) && read(lines);
    QFile::remove(m_path); // never carries anything to the next operation
    if (!ok)
        return splitScratchLines(text);
    return lines;
}

bool ScratchFile::write(const QString &text)
{
    QStringEncoder encoder(kEncoding);
    const QByteArray bytes = encoder.encode(text + QStringLiteral("\r\n"));
    if (encoder.hasError()) {
        // e.g. a lone surrogate: the file would not give the text back
        m_lastError = QStringLiteral("无法以 GB18030 编码文本");
        return false;
    }
    QFile file(m_path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        m_lastError = QStringLiteral("无法写入 %1：%2").arg(m_path, file.errorString());
        return false;
    }
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        m_lastError = QStringLiteral("无法写入 %1：%2").arg(m_path, file.errorString());
        return false;
    }
    file.close();
    return true;
}

bool ScratchFile::read(QStringList &lines)
{
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly)) {
        m_lastError = QStringLiteral("无法读取 %1：%2").arg(m_path, file.errorString());
        return false;
    }
    const QByteArray bytes = file.readAll();
    file.close();
    QStringDecoder decoder(kEncoding);
    const QString content = decoder.decode(bytes);
    if (decoder.hasError()) {
        m_lastError = QStringLiteral("无法读取 %1：编码错误").arg(m_path);
        return false;
    }
    lines = readLines(content);
    return true;
}

} // namespace quillora

