#pragma once

#include "printing/printer.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>

class QPaintDevice;
class QPagedPaintDevice;

namespace quillora {

// The printer drawn with QPainter: a QPrinter in the program, a QPdfWriter in tests, or any
// plain surface (an image for a preview), which then simply has no further pages.
//
// Painting starts with the first thing drawn, so an orientation set before that shapes the
// first page; one set later shapes the next page. endDoc ends the painting; nothing drawn,
// nothing sent.
class PainterPrinter : public Printer
{
public:
    explicit PainterPrinter(QPaintDevice *device);
    ~PainterPrinter() override;

    // The font the form's names become on this device (substitutions come from installFontSubstitutions).
    QFont deviceFont() const;
    bool isPainting() const { return m_painter.isActive(); }
    QSizeF printableAreaTwips() const override;

protected:
    void drawText(double left, double top, const QString &text) override;
    void drawLine(double x1, double y1, double x2, double y2) override;
    double lineHeightTwips() const override;
    double textWidthTwips(const QString &text) const override;
    void startNewPage() override;
    void finishDocument() override;

private:
    bool begin();
    void applyOrientation();
    double toDeviceX(double twips) const { return twips * m_dpiX / 1440.0; }
    double toDeviceY(double twips) const { return twips * m_dpiY / 1440.0; }
    // Font and its ascent/advance on the device, remeasured only when the font changes.
    struct Measured
    {
        QString name;
        double size = -1;
        bool bold = false;
        QFont font;
        double ascent = 0, lineSpacing = 0;
        QFontMetricsF metrics{QFont()};
    };
    const Measured &measured() const;

    QPaintDevice *m_device;
    QPagedPaintDevice *m_paged;
    QPainter m_painter;
    double m_dpiX, m_dpiY;
    mutable Measured m_measured;
};

} // namespace quillora
