#include "printing/printer.h"

#include <cmath>

namespace quillora {

namespace {
// A real millimetre; the settings' 56.7 is the documents' own rounding, not the printer's.
constexpr double kTwipsPerRealMillimetre = 1440.0 / 25.4;
}

Printer::Printer(int initialOrientation)
    : m_orientation(initialOrientation == Landscape ? Landscape : Portrait)
{
}

void Printer::setOrientation(int orientation)
{
    if (orientation != Portrait && orientation != Landscape)
        return;
    m_orientation = orientation;
    orientationChanged();
}

void Printer::setScaleMode(ScaleMode mode)
{
    m_scaleMode = mode;
    m_scaleLeft = m_scaleTop = 0;
    m_currentX = m_currentY = 0;
}

void Printer::setFontName(const QString &name)
{
    if (!name.trimmed().isEmpty())
        m_fontName = name;
}

void Printer::setFontSize(double points)
{
    if (points > 0 && std::isfinite(points))
        m_fontSize = points;
}

double Printer::unitTwips() const
{
    return m_scaleMode == ScaleMode::Twips ? 1.0 : kTwipsPerRealMillimetre;
}

void Printer::print(const QString &text)
{
    drawText(absoluteX(m_currentX), absoluteY(m_currentY), text);
    m_currentX = 0;
    m_currentY += textHeight();
}

QSizeF Printer::printableAreaTwips() const
{
    const QSizeF a4(210 * kTwipsPerRealMillimetre, 297 * kTwipsPerRealMillimetre);
    return m_orientation == Landscape ? a4.transposed() : a4;
}

double Printer::textHeight() const { return lineHeightTwips() / unitTwips(); }

double Printer::textWidth(const QString &text) const { return textWidthTwips(text) / unitTwips(); }

void Printer::setLineWidth(int width) { m_lineWidth = width < 1 ? 1 : width; }

void Printer::line(double x1, double y1, double x2, double y2)
{
    drawLine(absoluteX(x1), absoluteY(y1), absoluteX(x2), absoluteY(y2));
    // The classic object leaves the pen at the end point.
    m_currentX = x2;
    m_currentY = y2;
}

void Printer::newPage()
{
    startNewPage();
    m_currentX = m_currentY = 0;
}

void Printer::endDoc()
{
    finishDocument();
    m_currentX = m_currentY = 0;
}

} // namespace quillora
