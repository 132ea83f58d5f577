#pragma once

#include <QDate>
#include <QDateTime>
#include <optional>

namespace quillora {

// The program's one source of "today" and "now"; tests set it to a fixed moment.
class Clock
{
public:
    static QDateTime now();
    static QDate today() { return now().date(); }
    static void setFixed(const QDateTime &moment);
    static void advance(qint64 seconds);
    static void reset();

private:
    static std::optional<QDateTime> s_fixed;
};

} // namespace quillora
