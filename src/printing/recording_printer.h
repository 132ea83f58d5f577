#pragma once

#include "printing/printer.h"

#include <QList>
#include <QString>

namespace quillora {

// One operation a document sent to the printer, with the state it ran in.
struct PrintEvent
{
    enum Kind { Text, Line, Orientation, NewPage, EndDoc };
    Kind kind = Text;
    QString text;
    // Text: its top-left; Line: the start. In the scale in force and in twips from the
    // printable area's corner.
    double x = 0, y = 0;
    double absX = 0, absY = 0;
    // Line: the end point, the same two ways.
    double x2 = 0, y2 = 0;
    double absX2 = 0, absY2 = 0;
    QString fontName;
    double fontSize = 0;
    bool bold = false;
    int lineWidth = 1;
    int orientation = Printer::Portrait;
    int page = 1;  // 1-based page the operation landed on
};

// A printer that keeps every operation instead of drawing, for tests and benchmarks.
// Its line height is one em, size × 20 twips (12 pt → 240), as on paper, and a text is half an
// em wide per display column (an ideograph one em), so positions are exact.
class RecordingPrinter : public Printer
{
public:
    explicit RecordingPrinter(int initialOrientation = Portrait) : Printer(initialOrientation) {}

    static double lineHeightFor(double points) { return points * 20; }

    const QList<PrintEvent> &events() const { return m_events; }
    QList<PrintEvent> texts() const;  // text events only, empty texts included
    QList<PrintEvent> lines() const;
    // The first text event with exactly this text; nullptr when there is none.
    const PrintEvent *findText(const QString &text) const;
    int count(PrintEvent::Kind kind) const;
    void clear();

protected:
    void drawText(double left, double top, const QString &text) override;
    void drawLine(double x1, double y1, double x2, double y2) override;
    double lineHeightTwips() const override { return lineHeightFor(fontSize()); }
    double textWidthTwips(const QString &text) const override;
    void orientationChanged() override;
    void startNewPage() override;
    void finishDocument() override;

private:
    PrintEvent stamp(PrintEvent::Kind kind) const;

    QList<PrintEvent> m_events;
    int m_page = 1;
};

} // namespace quillora
