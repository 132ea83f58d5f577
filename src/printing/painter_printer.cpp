#include "printing/painter_printer.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPageLayout>
#include <QPen>

#include <algorithm>

namespace quillora {

namespace {

int orientationOf(QPaintDevice *device)
{
    const auto *paged = dynamic_cast<QPagedPaintDevice *>(device);
    if (paged && paged->pageLayout().orientation() == QPageLayout::Landscape)
        return Printer::Landscape;
    return Printer::Portrait;
}

} // namespace

PainterPrinter::PainterPrinter(QPaintDevice *device)
    : Printer(orientationOf(device))
    , m_device(device)
    , m_paged(dynamic_cast<QPagedPaintDevice *>(device))
    , m_dpiX(device->logicalDpiX())
    , m_dpiY(device->logicalDpiY())
{
}

PainterPrinter::~PainterPrinter()
{
    if (m_painter.isActive())
        m_painter.end();
}

QFont PainterPrinter::deviceFont() const { return measured().font; }

const PainterPrinter::Measured &PainterPrinter::measured() const
{
    if (m_measured.size != fontSize() || m_measured.name != fontName() || m_measured.bold != fontBold()) {
        m_measured.name = fontName();
        m_measured.size = fontSize();
        m_measured.bold = fontBold();
        QFont font(fontName());
        font.setPointSizeF(fontSize());
        font.setBold(fontBold());
        const QFontMetricsF metrics(font, m_device);
        m_measured.font = font;
        m_measured.ascent = metrics.ascent();
        m_measured.lineSpacing = metrics.lineSpacing();
        m_measured.metrics = metrics;
    }
    return m_measured;
}

void PainterPrinter::applyOrientation()
{
    if (m_paged)
        m_paged->setPageOrientation(orientation() == Landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
}

bool PainterPrinter::begin()
{
    if (m_painter.isActive())
        return true;
    // The page in hand takes the orientation asked for before anything was drawn.
    applyOrientation();
    if (!m_painter.begin(m_device))
        return false;  // no printer: the document simply prints nothing
    m_painter.setRenderHint(QPainter::Antialiasing);
    m_painter.setRenderHint(QPainter::TextAntialiasing);
    m_painter.setPen(Qt::black);
    return true;
}

void PainterPrinter::drawText(double left, double top, const QString &text)
{
    if (text.isEmpty() || !begin())
        return;
    const Measured &m = measured();
    m_painter.setFont(m.font);
    m_painter.setPen(Qt::black);
    m_painter.drawText(QPointF(toDeviceX(left), toDeviceY(top) + m.ascent), text);
}

void PainterPrinter::drawLine(double x1, double y1, double x2, double y2)
{
    if (!begin())
        return;
    // One width unit is one dot of a 600 dpi printer, so rules look alike on every device.
    const double dot = std::max(1.0, m_dpiX / 600.0);
    QPen pen(Qt::black);
    pen.setWidthF(lineWidth() * dot);
    pen.setCapStyle(Qt::SquareCap);
    m_painter.setPen(pen);
    m_painter.drawLine(QPointF(toDeviceX(x1), toDeviceY(y1)), QPointF(toDeviceX(x2), toDeviceY(y2)));
}

QSizeF PainterPrinter::printableAreaTwips() const
{
    if (!m_paged)
        return QSizeF(m_device->width() * 1440.0 / m_dpiX, m_device->height() * 1440.0 / m_dpiY);
    // The page as it will be once the orientation asked for is applied.
    QPageLayout layout = m_paged->pageLayout();
    layout.setOrientation(orientation() == Landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    return layout.paintRect(QPageLayout::Point).size() * 20.0;
}

// One line is the font's em, as the forms were drawn for 宋体, whose line is exactly 1 em: a
// taller substitute's own line height would push the last body lines onto the footer.
double PainterPrinter::lineHeightTwips() const { return fontSize() * 20.0; }

double PainterPrinter::textWidthTwips(const QString &text) const { return measured().metrics.horizontalAdvance(text) * 1440.0 / m_dpiX; }

void PainterPrinter::startNewPage()
{
    if (!begin())
        return;
    applyOrientation();
    if (m_paged)
        m_paged->newPage();
}

void PainterPrinter::finishDocument()
{
    if (m_painter.isActive())
        m_painter.end();
}

} // namespace quillora
