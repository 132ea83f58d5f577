#include "printing/recording_printer.h"

#include "text/display_width.h"

namespace quillora {

PrintEvent RecordingPrinter::stamp(PrintEvent::Kind kind) const
{
    PrintEvent e;
    e.kind = kind;
    e.fontName = fontName();
    e.fontSize = fontSize();
    e.bold = fontBold();
    e.lineWidth = lineWidth();
    e.orientation = orientation();
    e.page = m_page;
    return e;
}

void RecordingPrinter::drawText(double left, double top, const QString &text)
{
    PrintEvent e = stamp(PrintEvent::Text);
    e.text = text;
    e.x = currentX();
    e.y = currentY();
    e.absX = left;
    e.absY = top;
    m_events.append(e);
}

void RecordingPrinter::drawLine(double x1, double y1, double x2, double y2)
{
    PrintEvent e = stamp(PrintEvent::Line);
    // The base class hands over absolute twips; the scale values follow back from them.
    e.absX = x1;
    e.absY = y1;
    e.absX2 = x2;
    e.absY2 = y2;
    e.x = x1 / unitTwips() + scaleLeft();
    e.y = y1 / unitTwips() + scaleTop();
    e.x2 = x2 / unitTwips() + scaleLeft();
    e.y2 = y2 / unitTwips() + scaleTop();
    m_events.append(e);
}

double RecordingPrinter::textWidthTwips(const QString &text) const { return displayColumns(text) * fontSize() * 10; }

void RecordingPrinter::orientationChanged() { m_events.append(stamp(PrintEvent::Orientation)); }

void RecordingPrinter::startNewPage()
{
    ++m_page;
    m_events.append(stamp(PrintEvent::NewPage));
}

void RecordingPrinter::finishDocument()
{
    m_events.append(stamp(PrintEvent::EndDoc));
    m_page = 1;
}

QList<PrintEvent> RecordingPrinter::texts() const
{
    QList<PrintEvent> out;
    for (const PrintEvent &e : m_events) {
        if (e.kind == PrintEvent::Text)
            out.append(e);
    }
    return out;
}

QList<PrintEvent> RecordingPrinter::lines() const
{
    QList<PrintEvent> out;
    for (const PrintEvent &e : m_events) {
        if (e.kind == PrintEvent::Line)
            out.append(e);
    }
    return out;
}

const PrintEvent *RecordingPrinter::findText(const QString &text) const
{
    for (const PrintEvent &e : m_events) {
        if (e.kind == PrintEvent::Text && e.text == text)
            return &e;
    }
    return nullptr;
}

int RecordingPrinter::count(PrintEvent::Kind kind) const
{
    int n = 0;
    for (const PrintEvent &e : m_events)
        n += e.kind == kind;
    return n;
}

void RecordingPrinter::clear()
{
    m_events.clear();
    m_page = 1;
}

} // namespace quillora
