#pragma once

#include <QFrame>

class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace quillora {

class ClickLabel;
class RowList;

// The medical-history notes of the visit with the caption that files them as a template.
class HistoryAreaWidget : public QFrame
{
    Q_OBJECT

public:
    explicit HistoryAreaWidget(QWidget *parent = nullptr);
    QPlainTextEdit *history() const { return m_history; }
    ClickLabel *addToTemplates() const { return m_addToTemplates; }
    // Fits the notes box to the area's size.
    void layOut();

Q_SIGNALS:
    void clicked();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QPlainTextEdit *m_history = nullptr;
    ClickLabel *m_addToTemplates = nullptr;
};

// The template filter and list beside the history notes.
class TemplatePickerWidget : public QFrame
{
    Q_OBJECT

public:
    explicit TemplatePickerWidget(QWidget *parent = nullptr);
    ClickLabel *caption() const { return m_caption; }
    QLineEdit *filter() const { return m_filter; }
    RowList *list() const { return m_list; }
    // Fits the filter and the list to the picker's size.
    void layOut();

private:
    ClickLabel *m_caption = nullptr;
    QLineEdit *m_filter = nullptr;
    RowList *m_list = nullptr;
};

namespace HistoryLayout {
constexpr int kAreaWidth = 4965, kAreaHeight = 5565;
constexpr int kPickerWidth = 5040, kPickerHeight = 4620;
} // namespace HistoryLayout

} // namespace quillora
