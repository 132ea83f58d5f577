#pragma once

#include <QSizeF>
#include <QString>

namespace quillora {

// The classic printer object every document draws through: a page addressed in a movable
// coordinate system, with a current position that printing a line moves down.
//
// A point (x, y) lands (x − scaleLeft, y − scaleTop) units from the top-left corner of the
// printable area, a unit being a twip or a millimetre by the scale mode. The state lives
// here; a back end only renders (absolute twips) and measures the font.
class Printer
{
public:
    enum Orientation { Portrait = 1, Landscape = 2 };
    enum class ScaleMode { Twips, Millimetres };

    virtual ~Printer() = default;
    Printer(const Printer &) = delete;
    Printer &operator=(const Printer &) = delete;

    // 1 portrait, 2 landscape; any other value is ignored. Takes effect on the next page.
    void setOrientation(int orientation);
    int orientation() const { return m_orientation; }

    void setScaleLeft(double left) { m_scaleLeft = left; }
    double scaleLeft() const { return m_scaleLeft; }
    void setScaleTop(double top) { m_scaleTop = top; }
    double scaleTop() const { return m_scaleTop; }
    // Like the classic object, a new mode puts the origin and the position back at the corner.
    void setScaleMode(ScaleMode mode);
    ScaleMode scaleMode() const { return m_scaleMode; }

    // An empty name or a size of 0 or less is refused and the font stays as it was,
    // as the classic object refuses them.
    void setFontName(const QString &name);
    const QString &fontName() const { return m_fontName; }
    void setFontSize(double points);
    double fontSize() const { return m_fontSize; }
    void setFontBold(bool bold) { m_fontBold = bold; }
    bool fontBold() const { return m_fontBold; }

    void setCurrentX(double x) { m_currentX = x; }
    double currentX() const { return m_currentX; }
    void setCurrentY(double y) { m_currentY = y; }
    double currentY() const { return m_currentY; }

    // Prints with the text's top at the current y, then moves to the start of the next line:
    // x = 0, y + one line of the current font.
    void print(const QString &text);
    // Height of one printed line of the current font, in the current unit.
    double textHeight() const;
    // Width of a text in the current font, in the current unit.
    double textWidth(const QString &text) const;

    // Pen width in printer dots; less than 1 counts as 1.
    void setLineWidth(int width);
    int lineWidth() const { return m_lineWidth; }
    void line(double x1, double y1, double x2, double y2);

    void newPage();
    void endDoc();

    // Width and height of the printable area in twips, in the current orientation.
    // Without a page to ask, an A4 sheet.
    virtual QSizeF printableAreaTwips() const;

    // Twips from the printable area's corner for a point of the current scale.
    double absoluteX(double x) const { return (x - m_scaleLeft) * unitTwips(); }
    double absoluteY(double y) const { return (y - m_scaleTop) * unitTwips(); }
    double unitTwips() const;

protected:
    explicit Printer(int initialOrientation = Portrait);

    // The back end's share, in twips from the printable area's corner.
    virtual void drawText(double left, double top, const QString &text) = 0;
    virtual void drawLine(double x1, double y1, double x2, double y2) = 0;
    // Line advance of the current font.
    virtual double lineHeightTwips() const = 0;
    virtual double textWidthTwips(const QString &text) const = 0;
    virtual void orientationChanged() {}
    virtual void startNewPage() = 0;
    virtual void finishDocument() = 0;

private:
    int m_orientation = Portrait;
    double m_scaleLeft = 0, m_scaleTop = 0;
    ScaleMode m_scaleMode = ScaleMode::Twips;
    QString m_fontName = QStringLiteral("宋体");
    double m_fontSize = 9;
    bool m_fontBold = false;
    double m_currentX = 0, m_currentY = 0;
    int m_lineWidth = 1;
};

} // namespace quillora
