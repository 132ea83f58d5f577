#include "dictionaries/name_list_window.h"

#include "base/message_dialog.h"
#include "dictionaries/dictionary_entries.h"
#include "dictionaries/dictionary_list_widget.h"
#include "forms/form_parts_widget.h"
#include "forms/twips.h"
#include "text/pinyin.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace quillora {

namespace {

const FontSpec kControlFont{QStringLiteral("宋体"), 9, false};
constexpr int kWindowWidth = 6360, kWindowHeight = 6000;
constexpr int kListWidth = 3240, kRightLeft = 3480, kRowHeight = 330;

QLabel *label(const QString &text, QWidget *parent, int left, int top)
{
    auto *l = new QLabel(text, parent);
    l->adjustSize();
    l->move(Twips::toPixels(left, top));
    return l;
}

QLineEdit *box(const QString &name, const QString &accessibleName, QWidget *parent)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setAccessibleName(accessibleName);
    return edit;
}

} // namespace

NameListKind NameListKind::diagnoses()
{
    return {QStringLiteral("Form3"), QStringLiteral("诊断名称维护"), QStringLiteral("诊断"), QStringLiteral("诊断名称：")};
}

NameListKind NameListKind::addresses()
{
    return {QStringLiteral("Form4"), QStringLiteral("地址名称维护"), QStringLiteral("地址"), QStringLiteral("地址名称：")};
}

NameListWindow::NameListWindow(Database &settings, const NameListKind &kind, QWidget *parent)
    : DictionaryWindow(parent, 0), m_settings(settings), m_kind(kind)
{
    setObjectName(kind.objectName);
    setWindowTitle(kind.title);
    setFont(kControlFont.font());
    setFixedSize(Twips::toPixels(kWindowWidth), Twips::toPixels(kWindowHeight));

    label(QStringLiteral("查询："), this, 120, 180);
    m_search = box(QStringLiteral("Text1"), QStringLiteral("查询"), this);
    placeAt(m_search, 720, 120, kListWidth - 600, kRowHeight);
    m_list = new DictionaryListWidget(this);
    m_list->setObjectName(QStringLiteral("List1"));
    m_list->setAccessibleName(kind.title);
    m_list->enableDeleteMenu();
    placeAt(m_list, 120, 570, kListWidth, kWindowHeight - 690);

    label(kind.nameCaption, this, kRightLeft, 570);
    m_name = box(QStringLiteral("Text3"), QString(kind.nameCaption).remove(QChar(u'：')), this);
    placeAt(m_name, kRightLeft, 840, kWindowWidth - kRightLeft - 120, kRowHeight);
    label(QStringLiteral("拼音代码："), this, kRightLeft, 1350);
    m_code = box(QStringLiteral("Text5"), QStringLiteral("拼音代码"), this);
    placeAt(m_code, kRightLeft, 1620, kWindowWidth - kRightLeft - 120, kRowHeight);
    auto *remove = new QPushButton(QStringLiteral("删  除"), this);
    remove->setObjectName(QStringLiteral("Command1"));
    placeAt(remove, kRightLeft, 2280, 1260, 390);
    auto *save = new QPushButton(QStringLiteral("保  存"), this);
    save->setObjectName(QStringLiteral("Command2"));
    placeAt(save, kWindowWidth - 120 - 1260, 2280, 1260, 390);

    connect(m_search, &QLineEdit::textChanged, this, &NameListWindow::search);
    connect(m_name, &QLineEdit::textChanged, this, [this] { m_code->setText(pinyinCode(m_name->text().trimmed())); });
    connect(save, &QPushButton::clicked, this, &NameListWindow::save);
    connect(remove, &QPushButton::clicked, this, &NameListWindow::removeSelected);
    connect(m_list, &DictionaryListWidget::deleteRequested, this, &NameListWindow::removeSelected);
    m_name->installEventFilter(this);
}

void NameListWindow::load()
{
    m_list->clearLines();
    try {
        m_list->fill(store().all());
    } catch (const std::exception &) {
        // An unreadable list stays empty.
    }
}

void NameListWindow::search(const QString &text)
{
    m_list->clearLines();
    try {
        m_list->fill(store().searchByKey(text, -1));
    } catch (const std::exception &) {
    }
}

bool NameListWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_name && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            save();
            return true;
        }
    }
    return DictionaryWindow::eventFilter(watched, event);
}

void NameListWindow::save()
{
    const QString name = m_name->text();
    const QString code = m_code->text();
    if (name.trimmed().isEmpty())
        return;
    if (const QString problem = nameListEntryProblem(QString(m_kind.nameCaption).remove(QChar(u'：')), name, code);
        !problem.isEmpty()) {
        MessageDialog::inform(this, problem, MessageDialog::Icon::Exclamation);
        return;
    }
    qint64 rowId = 0;
    try {
        rowId = store().insert(name, code);
    } catch (const std::exception &failure) {
        tellFailure(QStringLiteral("“%1”未能保存").arg(name), failure);
        return;
    }
    // The new name stands at the end of the list, whether or not it matches the search.
    m_list->appendAndSelect({rowId, name});
    m_name->clear();
    m_code->clear();
    m_name->setFocus();
}

void NameListWindow::removeSelected()
{
    const qint64 rowId = m_list->currentRowId();
    if (rowId == 0)
        return;
    try {
        store().remove(rowId);
    } catch (const std::exception &failure) {
        tellFailure(QStringLiteral("“%1”未能删除").arg(m_list->lineText(m_list->currentLine())), failure);
        return;
    }
    search(m_search->text());
}

} // namespace quillora
