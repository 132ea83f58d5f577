#include "settings/settings_window.h"

#include "base/message_dialog.h"
#include "data/workspace.h"
#include "forms/form_parts_widget.h"
#include "forms/twips.h"
#include "forms/typing_limit_gui.h"
#include "printing/paper_size.h"
#include "printing/print_job_gui.h"
#include "settings/calibration_page.h"
#include "settings/password_change.h"
#include "settings/settings_save.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>

#include <tuple>

namespace quillora {

using namespace SettingsLayout;

namespace {

// What the table holds of a column: the typing limit of its box.
constexpr int kTextLimit = 50;
int typingLimit(const QString &column)
{
    const SettingsColumn *definition = settingsColumn(column);
    return definition ? definition->maxLength : kTextLimit;
}

const FontSpec kFont{QStringLiteral("宋体"), 9, false};
const QString kCalibrationName = QStringLiteral("套打校准页");

QLabel *caption(QWidget *parent, const QString &text, int left, int top)
{
    QLabel *label = formLabel(QString(), text, kFont, parent);
    label->move(Twips::toPixels(left, top));
    return label;
}

QPushButton *button(QWidget *parent, const QString &text, const char *name, const TwipRect &rect)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    placeAt(b, rect);
    return b;
}

QString withoutColon(QString caption) { return caption.remove(QChar(0xFF1A)); }

} // namespace

SettingsWindow::SettingsWindow(Workspace &workspace, QWidget *parent)
    : QWidget(parent, Qt::Window), m_workspace(workspace)
{
    setObjectName(QStringLiteral("Form5"));
    setWindowTitle(QStringLiteral("基本设置"));
    setFont(kFont.font());
    setFixedSize(Twips::toPixels(kWidth), Twips::toPixels(kHeight));
    buildGeneral();
    buildPassword();
    buildPrint();
    buildHint();
    buildOverlay();
    buildSafetyChecks();
    buildButtons();
    load();
}

QGroupBox *SettingsWindow::frame(const QString &title, const TwipRect &rect)
{
    auto *box = new QGroupBox(title, this);
    placeAt(box, rect);
    return box;
}

QLineEdit *SettingsWindow::labelledEdit(QWidget *frame, const LabelledBox &box, const char *name, bool setting)
{
    caption(frame, box.caption, box.captionLeft, box.captionTop);
    auto *edit = new QLineEdit(frame);
    edit->setObjectName(QLatin1String(name));
    edit->setAccessibleName(withoutColon(box.caption));
    placeAt(edit, box.box);
    limitTyping(edit, box.column.isEmpty() ? PasswordChange::kMaxLength : typingLimit(box.column));
    edit->installEventFilter(this);
    if (setting)
        connect(edit, &QLineEdit::textChanged, this, &SettingsWindow::storeEdits);
    return edit;
}

void SettingsWindow::buildGeneral()
{
    QGroupBox *general = frame(QStringLiteral("基本设置"), kGeneralFrame);
    general->setObjectName(QStringLiteral("generalFrame"));
    const char *names[] = {"nameBox", "doctorBox", "dispenserBox", "checkerBox", "feeClassBox", "departmentBox"};
    for (int i = 0; i < 6; ++i)
        m_general[i] = labelledEdit(general, generalBoxes()[i], names[i], true);
}

void SettingsWindow::buildPassword()
{
    QGroupBox *password = frame(QStringLiteral("修改登录密码"), kPasswordFrame);
    password->setObjectName(QStringLiteral("passwordFrame"));
    // Shown as typed: the doctor sees what the new password will be.
    m_oldPassword = labelledEdit(password, oldPasswordBox(), "oldPasswordBox", false);
    m_newPassword = labelledEdit(password, newPasswordBox(), "newPasswordBox", false);
    QPushButton *change = button(password, QStringLiteral("修改密码"), "changePasswordButton", kChangePasswordButton);
    connect(change, &QPushButton::clicked, this, &SettingsWindow::changePassword);
}

void SettingsWindow::buildPrint()
{
    QGroupBox *print = frame(QStringLiteral("打印设置(单位：毫米)"), kPrintFrame);
    print->setObjectName(QStringLiteral("printFrame"));
    const char *names[] = {"sheetLeftBox", "sheetTopBox", "overlayLeftBox", "overlayTopBox", "cardLeftBox", "cardTopBox"};
    for (int i = 0; i < 6; ++i)
        m_margins[i] = labelledEdit(print, marginBoxes()[i], names[i], true);

    const auto comboBox = [&](const LabelledBox &box, const char *name, const QStringList &choices, bool editable) {
        caption(print, box.caption, box.captionLeft, box.captionTop);
        auto *combo = new QComboBox(print);
        combo->setObjectName(QLatin1String(name));
        combo->setAccessibleName(box.caption);
        combo->setEditable(editable);
        combo->setInsertPolicy(QComboBox::NoInsert);
        combo->addItems(choices);
        if (editable)
            limitTyping(combo->lineEdit(), typingLimit(box.column));
        placeAt(combo, box.box);
        (editable ? static_cast<QWidget *>(combo->lineEdit()) : combo)->installEventFilter(this);
        connect(combo, &QComboBox::currentTextChanged, this, &SettingsWindow::storeEdits);
        return combo;
    };
    m_font = comboBox(fontBox(), "fontBox", fontChoices(), true);
    m_size = comboBox(sizeBox(), "sizeBox", sizeChoices(), true);
    QStringList papers;
    for (const PaperSize &paper : paperSizes())
        papers << paper.caption;
    m_paper = comboBox(paperBox(), "paperBox", papers, false);

    caption(print, QStringLiteral("处方打印方式："), kOrientationCaptionLeft, kOrientationTop);
    m_portrait = new QRadioButton(QStringLiteral("纵打"), print);
    m_portrait->setObjectName(QStringLiteral("portraitOption"));
    placeAt(m_portrait, kPortraitOption);
    m_landscape = new QRadioButton(QStringLiteral("横打"), print);
    m_landscape->setObjectName(QStringLiteral("landscapeOption"));
    placeAt(m_landscape, kLandscapeOption);
    connect(m_portrait, &QRadioButton::toggled, this, &SettingsWindow::storeEdits);
}

void SettingsWindow::buildHint()
{
    QGroupBox *hint = frame(QString(), kHintFrame);
    hint->setObjectName(QStringLiteral("hintFrame"));
    auto *text = new QLabel(hintText(), hint);
    text->setObjectName(QStringLiteral("hintText"));
    text->setWordWrap(true);
    text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    placeAt(text, kHintText);
}

void SettingsWindow::buildOverlay()
{
    QGroupBox *overlay = frame(QStringLiteral("处方套打设置"), kOverlayFrame);
    overlay->setObjectName(QStringLiteral("overlayFrame"));
    for (int row = 0; row < kOverlayItemCount; ++row) {
        const int item = kOverlayRowOrder[row];
        const QString &itemCaption = overlayItemDefaults()[item].caption;
        const int top = overlayRowTop(row);
        auto *tick = new QCheckBox(itemCaption, overlay);
        tick->setObjectName(indexedName("Check1", item));
        placeAt(tick, kTickLeft, top, kTickWidth, kRowHeight);
        m_ticks[item] = tick;
        // Set against their boxes, leaving the long item captions their room.
        for (const auto &[text, left, boxLeft] : {std::tuple(QStringLiteral("左边距"), kLeftCaptionLeft, kLeftBoxLeft),
                                                  std::tuple(QStringLiteral("上边距"), kTopCaptionLeft, kTopBoxLeft)}) {
            QLabel *label = caption(overlay, text, left, top);
            label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            label->setAttribute(Qt::WA_TransparentForMouseEvents);
            placeAt(label, left, top, boxLeft - left - 60, kRowHeight);
        }
        const auto position = [&](const char *array, int left, const QString &what) {
            auto *edit = new QLineEdit(overlay);
            edit->setObjectName(indexedName(array, item));
            edit->setAccessibleName(itemCaption + QLatin1Char(' ') + what);
            placeAt(edit, left, top, kPositionBoxWidth, kRowHeight);
            limitTyping(edit, kTextLimit);
            edit->installEventFilter(this);
            connect(edit, &QLineEdit::textChanged, this, &SettingsWindow::storeEdits);
            return edit;
        };
        m_lefts[item] = position("Text10", kLeftBoxLeft, QStringLiteral("左边距"));
        m_tops[item] = position("Text11", kTopBoxLeft, QStringLiteral("上边距"));
        connect(tick, &QCheckBox::toggled, this, [this, item] { tickChanged(item); });
    }
    QPushButton *print = button(overlay, QStringLiteral("打印校准页"), "calibrationButton", kCalibrationButton);
    print->setToolTip(QStringLiteral("在白纸上打印网格和各项目的位置，叠在印刷处方上核对"));
    connect(print, &QPushButton::clicked, this, &SettingsWindow::printCalibrationPage);
    QPushButton *preview = button(overlay, QStringLiteral("预览校准页"), "calibrationPreviewButton", kCalibrationPreviewButton);
    connect(preview, &QPushButton::clicked, this, &SettingsWindow::previewCalibrationPage);
}

void SettingsWindow::buildSafetyChecks()
{
    QGroupBox *safety = frame(QStringLiteral("用药安全提示"), kSafetyFrame);
    safety->setObjectName(QStringLiteral("safetyFrame"));
    for (int i = 0; i < kSafetyCheckCount; ++i) {
        const SafetyCheckSwitch &s = safetyCheckSwitches()[i];
        auto *check = new QCheckBox(s.caption, safety);
        check->setObjectName(QStringLiteral("safetyCheck_") + s.column);
        check->setAccessibleName(s.caption);
        placeAt(check, safetyBox(i));
        connect(check, &QCheckBox::toggled, this, [this] {
            storeEdits();
            if (!m_loading)
                Q_EMIT safetyChecksChanged();
        });
        m_safetyChecks[static_cast<int>(s.check)] = check;
    }
}

void SettingsWindow::buildButtons()
{
    QPushButton *saveButton = button(this, QStringLiteral("保  存"), "saveButton", kSaveButton);
    connect(saveButton, &QPushButton::clicked, this, &SettingsWindow::save);
    QPushButton *cancel = button(this, QStringLiteral("取  消"), "cancelButton", kCancelButton);
    connect(cancel, &QPushButton::clicked, this, &QWidget::close);
}

void SettingsWindow::load()
{
    m_loading = true;
    const SettingsValues &v = m_workspace.settingsRecord().values();
    for (int i = 0; i < 6; ++i) {
        m_general[i]->setText(v.text(generalBoxes()[i].column));
        m_margins[i]->setText(v.text(marginBoxes()[i].column));
    }
    (v.portrait ? m_portrait : m_landscape)->setChecked(true);
    // Any stored size and font are shown, listed or not.
    m_size->setCurrentText(v.size);
    m_font->setCurrentText(v.font);
    // A paper this version does not know is kept as it is (and prints on the printer's own paper).
    if (m_paper->findText(v.paper) < 0)
        m_paper->addItem(v.paper);
    m_paper->setCurrentText(v.paper);
    for (int item = 0; item < kOverlayItemCount; ++item) {
        m_ticks[item]->setChecked(v.overlay[item].ticked);
        m_lefts[item]->setText(v.overlay[item].left);
        m_tops[item]->setText(v.overlay[item].top);
        tickChanged(item);
    }
    for (int i = 0; i < kSafetyCheckCount; ++i)
        m_safetyChecks[i]->setChecked(v.safetyChecks[i]);
    m_loading = false;
    m_shown = edited();
}

SettingsValues SettingsWindow::edited() const
{
    SettingsValues v = m_workspace.settingsRecord().values();
    for (int i = 0; i < 6; ++i) {
        v.setText(generalBoxes()[i].column, m_general[i]->text());
        v.setText(marginBoxes()[i].column, m_margins[i]->text());
    }
    v.portrait = m_portrait->isChecked();
    v.font = m_font->currentText();
    v.size = m_size->currentText();
    v.paper = m_paper->currentText();
    for (int item = 0; item < kOverlayItemCount; ++item) {
        v.overlay[item].ticked = m_ticks[item]->isChecked();
        v.overlay[item].left = m_lefts[item]->text();
        v.overlay[item].top = m_tops[item]->text();
    }
    for (int i = 0; i < kSafetyCheckCount; ++i)
        v.safetyChecks[i] = m_safetyChecks[i]->isChecked();
    return v;
}

void SettingsWindow::storeEdits()
{
    // The record is the settings in memory: a print made now uses what is typed.
    if (!m_loading)
        m_workspace.settingsRecord().values() = edited();
}

void SettingsWindow::tickChanged(int item)
{
    const bool ticked = m_ticks[item]->isChecked();
    m_lefts[item]->setEnabled(ticked);
    m_tops[item]->setEnabled(ticked);
    storeEdits();
}

void SettingsWindow::save()
{
    storeEdits();
    const QString problem = SettingsSave::save(m_workspace.settingsRecord());
    if (!problem.isEmpty()) {
        MessageDialog::inform(this, problem, MessageDialog::Icon::Exclamation);
        return;
    }
    m_saved = true;
    Q_EMIT saved(SettingsSave::institutionHeading(m_general[0]->text()));
    close();
}

void SettingsWindow::changePassword()
{
    if (const QString refused = PasswordChange::refusal(m_newPassword->text()); !refused.isEmpty()) {
        MessageDialog::inform(this, refused);
        return;
    }
    hide();
    const PasswordChange::Result result = PasswordChange::change(m_workspace.archive(), m_oldPassword->text(), m_newPassword->text());
    const bool failed = result.outcome == PasswordChange::Outcome::Unreadable || result.outcome == PasswordChange::Outcome::NotSaved;
    MessageDialog::inform(parentWidget(), result.message, failed ? MessageDialog::Icon::Critical : MessageDialog::Icon::None);
    if (result.outcome == PasswordChange::Outcome::Changed) {
        // The window goes once the password is changed, unless that would throw away other edits.
        if (!hasEdits()) {
            close();
            return;
        }
        m_oldPassword->clear();
        m_newPassword->clear();
    }
    show();
    raise();
    activateWindow();
}

bool SettingsWindow::printCalibrationPage()
{
    storeEdits();
    const SettingsValues values = m_workspace.settingsRecord().values();
    return PrintJob::print(this, kCalibrationName, [&](Printer &printer) { quillora::printCalibrationPage(printer, values); },
                           paperSizeFor(values.paper));
}

void SettingsWindow::previewCalibrationPage()
{
    storeEdits();
    const SettingsValues values = m_workspace.settingsRecord().values();
    PrintJob::preview(this, kCalibrationName, [&](Printer &printer) { quillora::printCalibrationPage(printer, values); },
                      paperSizeFor(values.paper));
}

void SettingsWindow::closeEvent(QCloseEvent *event)
{
    // Cancel and the title bar's close write nothing; the next use reads the row again.
    if (!m_saved)
        m_workspace.settingsRecord().discard();
    event->accept();
    Q_EMIT safetyChecksChanged();
}

void SettingsWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (m_centred)
        return;
    m_centred = true;
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    }
}

bool SettingsWindow::eventFilter(QObject *watched, QEvent *event)
{
    // Enter in a box moves on to the next field; the key goes no further.
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            focusNextChild();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace quillora
