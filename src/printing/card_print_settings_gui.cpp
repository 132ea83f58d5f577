#include "printing/card_print_settings_gui.h"

#include "data/settings_row.h"
#include "forms/form_parts_widget.h"
#include "forms/typing_limit_gui.h"

#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

namespace quillora {

CardPrintSettings::CardPrintSettings(QWidget *window, const Columns &columns, const Places &places, QObject *keyFilter)
    : m_columns(columns)
{
    const FontSpec font{QStringLiteral("宋体"), 9, false};
    const auto caption = [&](const QString &text, const TwipRect &rect) {
        QLabel *label = formLabel(QString(), text, font, window);
        label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        // As wide as the text needs: the CJK fonts set "(mm)" wider than the form allows for.
        placeAt(label, rect.left, rect.top - 45, rect.width, rect.height + 90);
        label->resize(std::max(label->width(), label->sizeHint().width()), label->height());
    };
    caption(QStringLiteral("打印左边距(mm)"), places.leftCaption);
    caption(QStringLiteral("打印上边距(mm)"), places.topCaption);
    m_left = new QLineEdit(QStringLiteral("10"), window);
    m_left->setObjectName(QStringLiteral("Text6"));
    m_top = new QLineEdit(QStringLiteral("10"), window);
    m_top->setObjectName(QStringLiteral("Text7"));
    for (QLineEdit *box : {m_left, m_top}) {
        limitTyping(box, 50);  // what the settings column holds
        box->installEventFilter(keyFilter);
    }
    placeAt(m_left, places.leftBox);
    placeAt(m_top, places.topBox);
    m_portrait = new QRadioButton(QStringLiteral("纵打"), window);
    m_portrait->setObjectName(QStringLiteral("portraitOption"));
    m_landscape = new QRadioButton(QStringLiteral("横打"), window);
    m_landscape->setObjectName(QStringLiteral("landscapeOption"));
    placeAt(m_portrait, places.portrait);
    placeAt(m_landscape, places.landscape);
    m_portrait->setChecked(true);
}

void CardPrintSettings::load(Database &settings)
{
    try {
        SettingsRow row(settings);
        if (const auto left = row.value(m_columns.left))
            m_left->setText(*left);
        if (const auto top = row.value(m_columns.top))
            m_top->setText(*top);
        if (const auto portrait = row.value(m_columns.portrait))
            (*portrait == QLatin1String("0") ? m_landscape : m_portrait)->setChecked(true);
    } catch (const std::exception &) {
        // The design values stay.
    }
}

void CardPrintSettings::store(Database &settings) const
{
    SettingsRow(settings).write({{m_columns.left, m_left->text()},
                                 {m_columns.top, m_top->text()},
                                 {m_columns.portrait, m_portrait->isChecked() ? QStringLiteral("1") : QStringLiteral("0")}});
}

CardMargins CardPrintSettings::margins() const { return CardMargins{m_left->text(), m_top->text(), m_portrait->isChecked()}; }

} // namespace quillora
