#include "dictionaries/drug_catalogue_window.h"

#include "base/message_dialog.h"
#include "dictionaries/dictionary_list_widget.h"
#include "forms/form_parts_widget.h"
#include "forms/twips.h"
#include "text/pinyin.h"

#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace quillora {

namespace {

const FontSpec kControlFont{QStringLiteral("宋体"), 9, false};
constexpr int kWindowWidth = 11040, kWindowHeight = 9000;
constexpr int kListWidth = 5400;
constexpr int kFrameLeft = 5640, kFrameTop = 1020, kFrameWidth = 5280, kFrameHeight = 4620;
constexpr int kRowHeight = 330, kRowStep = 420, kBoxLeft = 1260;

QLabel *caption(const QString &text, QWidget *parent, int left, int top)
{
    auto *label = new QLabel(text, parent);
    label->adjustSize();
    // Centred on the line of the box beside it.
    label->move(Twips::toPixels(left), Twips::toPixels(top) + (Twips::toPixels(kRowHeight) - label->height()) / 2);
    return label;
}

// Rewrites a box by its rule, the caret where it was (the rules replace one character by one);
// true when the text changed.
bool keepInShape(QLineEdit *box, QString (*rule)(const QString &))
{
    const QString kept = rule(box->text());
    if (kept == box->text())
        return false;
    const int caret = box->cursorPosition();
    box->setText(kept);
    box->setCursorPosition(caret);
    return true;
}

QComboBox *comboBox(const QString &name, const QStringList &items, QWidget *parent)
{
    auto *combo = new QComboBox(parent);
    combo->setObjectName(name);
    combo->setEditable(true);
    combo->addItems(items);
    // What is typed stays typed: it is not added to the choices.
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setCurrentIndex(-1);
    combo->setEditText(QString());
    return combo;
}

} // namespace

DrugCatalogueWindow::DrugCatalogueWindow(Database &settings, QWidget *parent)
    : DictionaryWindow(parent, 0), m_settings(settings)
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("药品维护"));
    setFont(kControlFont.font());
    setFixedSize(Twips::toPixels(kWindowWidth), Twips::toPixels(kWindowHeight));
    build();
}

void DrugCatalogueWindow::build()
{
    for (int k = 0; k < DrugViews::kViewCount; ++k) {
        auto *b = new QPushButton(DrugViews::caption(k), this);
        b->setObjectName(indexedName("Command1", k));
        placeAt(b, 120 + (k % 7) * 1545, 120 + (k / 7) * 420, 1485, 375);
        connect(b, &QPushButton::clicked, this, [this, k] { chooseView(k); });
        m_views[k] = b;
    }
    caption(QStringLiteral("拼音查询："), this, 120, 1020);
    m_search = new QLineEdit(this);
    m_search->setObjectName(QStringLiteral("Text1"));
    m_search->setAccessibleName(QStringLiteral("拼音查询"));
    placeAt(m_search, 1140, 1020, kListWidth - 1020, kRowHeight);
    connect(m_search, &QLineEdit::textChanged, this, &DrugCatalogueWindow::searchChanged);

    m_list = new DictionaryListWidget(this);
    m_list->setObjectName(QStringLiteral("List1"));
    m_list->setAccessibleName(QStringLiteral("药品列表"));
    m_list->enableDeleteMenu();
    placeAt(m_list, 120, 1440, kListWidth, kWindowHeight - 1560);
    connect(m_list, &DictionaryListWidget::lineSelected, this, &DrugCatalogueWindow::showLine);
    connect(m_list, &DictionaryListWidget::deleteRequested, this, &DrugCatalogueWindow::removeSelected);

    auto *frame = new QGroupBox(QStringLiteral("添加药品"), this);
    frame->setObjectName(QStringLiteral("Frame1"));
    placeAt(frame, kFrameLeft, kFrameTop, kFrameWidth, kFrameHeight);
    buildFields(frame);

    auto *help = new QLabel(DrugViews::helpText(), this);
    help->setObjectName(QStringLiteral("Label4"));
    help->setStyleSheet(QStringLiteral("color: #404a56;"));
    help->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    placeAt(help, kFrameLeft + 60, kFrameTop + kFrameHeight + 150, kFrameWidth - 60, kWindowHeight - kFrameTop - kFrameHeight - 270);
    boldView(m_view);
}

void DrugCatalogueWindow::buildFields(QWidget *frame)
{
    const auto box = [&](const QString &name, const QString &label, int row) {
        const int top = 330 + row * kRowStep;
        caption(label, frame, 150, top);
        auto *edit = new QLineEdit(frame);
        edit->setObjectName(name);
        edit->setAccessibleName(QString(label).remove(QLatin1Char(' ')).remove(QChar(u'：')));
        placeAt(edit, kBoxLeft, top, kFrameWidth - kBoxLeft - 150, kRowHeight);
        return edit;
    };
    m_name = box(QStringLiteral("Text3"), QStringLiteral("药品名称："), 0);
    m_usage = box(QStringLiteral("Text4"), QStringLiteral("用法用量："), 1);
    m_code = box(QStringLiteral("Text5"), QStringLiteral("拼音代码："), 2);
    caption(QStringLiteral("药品分类："), frame, 150, 330 + 3 * kRowStep);
    m_category = comboBox(QStringLiteral("Combo1"), DrugViews::categoryNames(), frame);
    m_category->setAccessibleName(QStringLiteral("药品分类"));
    m_category->setEditText(DrugViews::caption(0));
    placeAt(m_category, kBoxLeft, 330 + 3 * kRowStep, 2100, kRowHeight);
    m_quantity = box(QStringLiteral("Text2"), QStringLiteral("常用数量："), 4);
    m_quantity->resize(Twips::toPixels(2100), m_quantity->height());
    caption(QStringLiteral("单    位："), frame, 150, 330 + 5 * kRowStep);
    m_unit = comboBox(QStringLiteral("Combo2"), DrugViews::unitNames(), frame);
    m_unit->setAccessibleName(QStringLiteral("单位"));
    placeAt(m_unit, kBoxLeft, 330 + 5 * kRowStep, 2100, kRowHeight);
    m_price = box(QStringLiteral("Text6"), QStringLiteral("单    价："), 6);
    m_price->resize(Twips::toPixels(2100), m_price->height());

    // The quick-insert captions, in two rows under the fields.
    const QStringList inserts = DrugViews::quickInserts();
    int left = 150;
    for (int i = 0; i < inserts.size(); ++i) {
        auto *label = new ClickLabel(inserts[i], frame);
        label->setObjectName(indexedName("Label5", i));
        label->setStyleSheet(QStringLiteral("QLabel { color: #1a5fb4; border: 1px solid #b7c6d8; border-radius: 3px;"
                                            " padding: 1px 5px; background: #f3f7fb; }"));
        label->adjustSize();
        if (i == 5)
            left = 150;
        label->move(Twips::toPixels(left), Twips::toPixels(i < 5 ? 3300 : 3660));
        left += int(Twips::fromPixels(label->width())) + 120;
        connect(label, &ClickLabel::clicked, this, [this, label] { quickInsert(label->text()); });
    }

    const auto button = [&](const QString &text, int index) {
        auto *b = new QPushButton(text, frame);
        b->setObjectName(indexedName("Command2", index));
        placeAt(b, 150 + index * 1680, 4080, 1500, 390);
        return b;
    };
    m_remove = button(QStringLiteral("删  除"), 0);
    m_add = button(QStringLiteral("添  加"), 1);
    m_save = button(QStringLiteral("保  存"), 2);
    connect(m_remove, &QPushButton::clicked, this, &DrugCatalogueWindow::removeSelected);
    connect(m_add, &QPushButton::clicked, this, &DrugCatalogueWindow::add);
    connect(m_save, &QPushButton::clicked, this, &DrugCatalogueWindow::save);

    connect(m_name, &QLineEdit::textChanged, this, &DrugCatalogueWindow::nameChanged);
    connect(m_price, &QLineEdit::textChanged, this, &DrugCatalogueWindow::priceChanged);
    for (QWidget *w : std::initializer_list<QWidget *>{m_name, m_usage, m_quantity, m_unit, m_price})
        moveOnWithEnter(w);
    for (QWidget *w : std::initializer_list<QWidget *>{m_quantity, m_unit, m_price})
        caretToEndOnFocus(w);
    m_name->installEventFilter(this);
    m_usage->installEventFilter(this);
    setTabOrder(m_name, m_usage);
    setTabOrder(m_usage, m_code);
    setTabOrder(m_code, m_category);
    setTabOrder(m_category, m_quantity);
    setTabOrder(m_quantity, m_unit);
    setTabOrder(m_unit, m_price);
    setTabOrder(m_price, m_remove);
    setTabOrder(m_remove, m_add);
    setTabOrder(m_add, m_save);
}

bool DrugCatalogueWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn && (watched == m_name || watched == m_usage))
        m_insertTarget = static_cast<QLineEdit *>(watched);
    return DictionaryWindow::eventFilter(watched, event);
}

void DrugCatalogueWindow::load()
{
    fill(DrugListFilter::opening(m_view, m_search->text()));
    m_list->selectLine(0);
}

void DrugCatalogueWindow::fill(const DrugListFilter &filter)
{
    m_filter = filter;
    m_list->clearLines();
    try {
        DrugStore drugs(m_settings);
        m_list->fill(listDrugs(drugs, filter));
    } catch (const std::exception &) {
        // An unreadable catalogue leaves the list empty.
    }
}

void DrugCatalogueWindow::boldView(int view)
{
    for (int k = 0; k < DrugViews::kViewCount; ++k) {
        QFont f = m_views[k]->font();
        f.setBold(k == view);
        m_views[k]->setFont(f);
    }
}

void DrugCatalogueWindow::chooseView(int view)
{
    boldView(view);
    m_view = view;
    fill(DrugListFilter::button(view, m_search->text()));
    m_list->selectLine(0);
}

void DrugCatalogueWindow::searchChanged(const QString &text)
{
    boldView(DrugViews::kSearchView);
    m_view = DrugViews::kSearchView;
    fill(DrugListFilter::button(m_view, text));
    m_list->selectLine(0);
}

void DrugCatalogueWindow::clearFields()
{
    m_name->clear();
    m_usage->clear();
    m_code->clear();
    m_quantity->clear();
    m_price->clear();
    m_unit->setEditText(QString());
}

void DrugCatalogueWindow::showLine(int line)
{
    clearFields();
    std::optional<DrugRow> row;
    try {
        row = DrugStore(m_settings).byRowId(m_list->rows()->rowIdAt(line));
    } catch (const std::exception &) {
    }
    if (!row)
        return;
    const DrugFields f = drugFieldsOf(*row);
    m_name->setText(f.name);
    m_usage->setText(f.usage);
    // After the name, whose change computes a code: the stored code is what shows.
    m_code->setText(f.code);
    m_category->setEditText(f.category);
    m_quantity->setText(f.quantity);
    m_unit->setEditText(f.unit);
    m_price->setText(f.price);
}

void DrugCatalogueWindow::nameChanged()
{
    if (keepInShape(m_name, normaliseDrugName))
        return;  // the new text comes round again
    m_code->setText(pinyinCode(m_name->text().trimmed()));
}

void DrugCatalogueWindow::priceChanged() { keepInShape(m_price, normalisePriceText); }

DrugFields DrugCatalogueWindow::fields() const
{
    return {m_name->text(),     m_usage->text(), m_code->text(), m_category->currentText(),
            m_quantity->text(), m_unit->currentText(), m_price->text()};
}

void DrugCatalogueWindow::add()
{
    m_adding = true;
    clearFields();
    m_name->setFocus();
}

void DrugCatalogueWindow::save()
{
    if (m_code->text().trimmed().isEmpty())
        m_code->setText(m_name->text());
    const DrugFields typed = fields();
    if (const QString problem = drugSaveProblem(typed); !problem.isEmpty()) {
        MessageDialog::inform(this, problem, MessageDialog::Icon::Exclamation);
        return;
    }
    DrugRow row = drugRowToSave(typed);
    if (!m_adding) {
        row.rowId = selectedRowOrTell(m_list);
        if (row.rowId == 0)
            return;
    }
    try {
        DrugStore drugs(m_settings);
        if (m_adding) {
            drugs.insert(row);
        } else if (!drugs.update(row)) {
            tellRowGone();
            return;
        }
    } catch (const std::exception &failure) {
        tellFailure(QStringLiteral("药品未能保存"), failure);
        return;
    }
    if (const auto view = DrugViews::categoryView(row.category))
        m_view = *view;
    fill(DrugListFilter::afterSave(m_view, m_search->text()));
    boldView(m_view);
    m_add->setFocus();
    m_adding = false;
    Q_EMIT catalogueChanged();
}

void DrugCatalogueWindow::removeSelected()
{
    const qint64 rowId = m_list->currentRowId();
    if (rowId == 0)
        return;
    try {
        DrugStore(m_settings).remove(rowId);
    } catch (const std::exception &failure) {
        tellFailure(QStringLiteral("药品未能删除"), failure);
        return;
    }
    fill(m_filter);
    m_name->clear();
    m_usage->clear();
    m_code->clear();
    Q_EMIT catalogueChanged();
}

void DrugCatalogueWindow::quickInsert(const QString &text)
{
    if (!m_insertTarget)
        return;
    m_insertTarget->insert(text);
    m_insertTarget->setFocus();
}

} // namespace quillora
