#pragma once

#include <memory>

#include "printing/history_card_layout.h"
#include "printing/history_card_print.h"
#include "printing/print_steps.h"

#include <QImage>
#include <QWidget>
#include <array>

class QLineEdit;
class QPlainTextEdit;
class QRadioButton;
class QScrollBar;

namespace quillora {

class CardPrintSettings;

class VisitSource;
class Workspace;

// The outpatient medical-history card of the visit on screen as an editable preview: what its
// fields and history box hold when "打印病史" is pressed is what goes on paper.
class HistoryCardWindow : public QWidget
{
    Q_OBJECT

public:
    HistoryCardWindow(Workspace &workspace, VisitSource &visit, QWidget *parent = nullptr);
    ~HistoryCardWindow() override;

    QLineEdit *field(int index) const { return m_fields[index]; }
    QPlainTextEdit *historyBox() const { return m_history; }
    QScrollBar *scrollBar() const { return m_scrollBar; }
    // The drawn part of the card under the editable boxes: captions, rules, prescription lines.
    const QImage &preview() const { return m_preview; }

    // The history box's lines as the box shows them, wrapped at its width.
    QStringList historyLines() const;
    // The card as it prints now: the boxes' contents and the body of the card's own visit.
    HistoryCardContent content() const;
    // The prescription of the visit the card was opened for: the main window's body while it
    // still shows that visit, else the visit as stored (or as it was when the card opened).
    QString cardBody() const;
    CardMargins margins() const;
    bool print();
    // The same page in a print preview, before any paper is used.
    void printPreview();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void buildCard();
    void buildControls();
    void load();
    void refreshPreview(bool force);
    void scrollToShow(int top, int bottom);
    bool storeMargins();

    Workspace &m_workspace;
    VisitSource &m_visit;
    QString m_institution;
    QString m_key;
    QString m_openingBody;
    QString m_drawnBody;

    QWidget *m_viewport = nullptr;
    QWidget *m_card = nullptr;
    QScrollBar *m_scrollBar = nullptr;
    std::array<QLineEdit *, HistoryCardLayout::kFieldCount> m_fields{};
    QPlainTextEdit *m_history = nullptr;
    std::unique_ptr<CardPrintSettings> m_print;

    QImage m_preview;
    qsizetype m_previewLines = -1;
    bool m_refreshing = false;
    bool m_centred = false;
};

} // namespace quillora
