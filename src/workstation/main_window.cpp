#include "workstation/main_window.h"

#include "data/key_indexes.h"

#include <QTimer>

#include "workstation/about_dialog.h"
#include "base/message_dialog.h"
#include "text/captions.h"
#include "data/workspace.h"
#include "data/data_files.h"
#include "data/settings_row.h"
#include "text/soft_keyboard_window.h"
#include "text/text_lines.h"
#include "workstation/action_bar_widget.h"
#include "workstation/dictionary_windows_gui.h"
#include "workstation/drug_entry_widget.h"
#include "forms/form_parts_widget.h"
#include "workstation/header_entry_gui.h"
#include "workstation/history_area_widget.h"
#include "workstation/injection_card_widget.h"
#include "workstation/prescription_editor_gui.h"
#include "workstation/print_actions_gui.h"
#include "printing/history_card_window.h"
#include "printing/infusion_card_window.h"
#include "reports/report_windows_gui.h"
#include "settings/settings_window.h"
#include "workstation/press_button_widget.h"
#include "workstation/price_grid_widget.h"
#include "workstation/safety_guard_gui.h"
#include "workstation/safety_strip_widget.h"
#include "workstation/server_migration_window.h"
#include "workstation/sheet_widget.h"
#include "forms/twips.h"
#include "workstation/visit_browser_widget.h"
#include "workstation/visit_session_gui.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollArea>
#include <QStandardPaths>
#include <QUrl>

namespace quillora {

namespace {

// A toolbar picture: the first character of the caption on a coloured tile.
QIcon glyphIcon(const QString &glyph, const QColor &colour)
{
    QPixmap pixmap(48, 48);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawRoundedRect(QRectF(2, 2, 44, 44), 9, 9);
    QFont font(QStringLiteral("黑体"));
    font.setPixelSize(26);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 0, 48, 46), Qt::AlignCenter, glyph);
    return QIcon(pixmap);
}

QFrame *panel(QWidget *parent, const QString &name)
{
    auto *frame = new QFrame(parent);
    frame->setObjectName(name);
    frame->setStyleSheet(QStringLiteral("QFrame#%1 { background: #ffffff; border: 1px solid #c5ced9; border-radius: 4px; }").arg(name));
    return frame;
}

} // namespace

MainWindow::MainWindow(Workspace &workspace, QWidget *parent) : QMainWindow(parent), m_workspace(workspace)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Quillora V5.0"));
    buildCanvas();
    m_areas.header = new HeaderEntry(workspace, *m_areas.sheet, *m_areas.card, *m_areas.history, *m_areas.templates, this);
    m_editor = new PrescriptionEditor(workspace, m_areas, this);
    m_session = new VisitSession(workspace, m_areas, *m_editor, this);
    m_printing = new PrintActions(workspace, m_areas, *m_editor, this);
    m_safety = new SafetyGuard(workspace, m_areas, m_areas.safety, this);
    m_editor->setPickGate([this](const DrugPick &pick) { return m_safety->allowPick(pick); });
    m_dictionaries = new DictionaryWindows(workspace, m_areas, this);
    m_reports = new ReportWindows(workspace, this);
    buildMenus();
    connect(m_areas.drugs, &DrugEntryWidget::keyboardRequested, this, &MainWindow::openSoftKeyboard);
    ensureResources();
    load();
}

MainWindow::~MainWindow()
{
    if (m_keyboard)
        delete m_keyboard;
}

void MainWindow::buildCanvas()
{
    auto *scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("canvasScroll"));
    scroll->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setStyleSheet(QStringLiteral("QScrollArea#canvasScroll, QWidget#canvas { background: #e6ebf1; }"));
    auto *canvas = new QWidget;
    canvas->setObjectName(QStringLiteral("canvas"));
    canvas->setFixedSize(Twips::toPixels(WindowLayout::kWidth), Twips::toPixels(WindowLayout::kHeight));
    scroll->setWidget(canvas);
    setCentralWidget(scroll);

    buildToolbar(canvas);
    m_areas.drugs = new DrugEntryWidget(m_workspace.settings(), canvas);
    m_areas.browser = new VisitBrowserWidget(m_workspace.archive(), m_workspace.paths().backupRoot, canvas);
    m_areas.sheet = new SheetWidget(canvas);
    m_areas.safety = new SafetyStripWidget(canvas);
    placeAt(m_areas.safety, SheetLayout::kLeft, WindowLayout::kStripTop, SheetLayout::kWidth, WindowLayout::kStripHeight);

    QFrame *cardFrame = panel(canvas, QStringLiteral("cardFrame"));
    placeAt(cardFrame, WindowLayout::kRightLeft, SheetLayout::kTop, InjectionCardLayout::kWidth, InjectionCardLayout::kHeight);
    m_areas.card = new InjectionCardWidget(cardFrame);
    m_areas.history = new HistoryAreaWidget(canvas);
    const int historyTop = SheetLayout::kTop + InjectionCardLayout::kHeight + 75;
    placeAt(m_areas.history, WindowLayout::kRightLeft, historyTop, HistoryLayout::kAreaWidth,
            WindowLayout::kBottomRowTop + WindowLayout::kBottomRowHeight - historyTop);
    m_areas.history->layOut();
    m_areas.grid = new PriceGridWidget(canvas);
    m_areas.grid->move(Twips::toPixels(WindowLayout::kPriceLeft, SheetLayout::kTop));
    m_areas.presets = new UsagePresetsWidget(canvas);
    m_areas.templates = new TemplatePickerWidget(canvas);
    layOutRightColumn(true);
    m_areas.actions = new ActionBarWidget(canvas);
    placeAt(m_areas.actions, SheetLayout::kLeft, WindowLayout::kBottomRowTop, SheetLayout::kWidth, WindowLayout::kBottomRowHeight);
    connect(m_areas.actions, &ActionBarWidget::pricingShown, this, &MainWindow::layOutRightColumn);
}

void MainWindow::layOutRightColumn(bool pricingShown)
{
    // The presets and the template picker move up into the room of a hidden price grid.
    const int top = pricingShown ? SheetLayout::kTop + PriceAreaLayout::kHeight + 90 : SheetLayout::kTop;
    const int presetsHeight = 1950;
    placeAt(m_areas.presets, WindowLayout::kPriceLeft, top, PriceAreaLayout::kWidth, presetsHeight);
    const int pickerTop = top + presetsHeight + 60;
    placeAt(m_areas.templates, WindowLayout::kPriceLeft, pickerTop, PriceAreaLayout::kWidth,
            WindowLayout::kBottomRowTop + WindowLayout::kBottomRowHeight - pickerTop);
    m_areas.templates->layOut();
}

void MainWindow::buildToolbar(QWidget *canvas)
{
    auto *bar = new QFrame(canvas);
    bar->setObjectName(QStringLiteral("toolbar"));
    bar->setStyleSheet(QStringLiteral("QFrame#toolbar { background: #f7f9fb; border-bottom: 1px solid #c5ced9; }"));
    placeAt(bar, 0, 0, WindowLayout::kWidth, WindowLayout::kToolbarHeight - 30);
    auto *row = new QHBoxLayout(bar);
    row->setContentsMargins(8, 2, 8, 2);
    row->setSpacing(2);
    const struct { const char *caption; const char *glyph; QColor colour; } buttons[] = {
        {"新建", "新", QColor(0x2e, 0x7d, 0x32)}, {"续开", "续", QColor(0x00, 0x83, 0x8f)},
        {"保存", "存", QColor(0x15, 0x65, 0xc0)}, {"打印", "印", QColor(0x45, 0x5a, 0x64)},
        {"复制", "复", QColor(0x6a, 0x1b, 0x9a)}, {"粘贴", "粘", QColor(0x8e, 0x24, 0xaa)},
        {"日志", "志", QColor(0xbf, 0x36, 0x0c)}, {"统计", "统", QColor(0xc6, 0x28, 0x28)},
        {"套打", "套", QColor(0x5d, 0x40, 0x37)}, {"帮助", "?", QColor(0x37, 0x47, 0x4f)},
    };
    for (const auto &spec : buttons) {
        auto *b = new PressButton(QString::fromUtf8(spec.caption), glyphIcon(QString::fromUtf8(spec.glyph), spec.colour), bar);
        b->setObjectName(QStringLiteral("tool_") + QString::fromUtf8(spec.caption));
        b->setIconSize(26);
        b->setMinimumWidth(56);
        row->addWidget(b);
        m_toolButtons << b;
    }
    row->addStretch();
}

QAction *MainWindow::addMenuAction(QMenu *menu, const QString &caption, const QKeySequence &shortcut)
{
    QAction *action = menu->addAction(withAccessKey(caption));
    action->setObjectName(QStringLiteral("menu_") + caption);
    if (!shortcut.isEmpty())
        action->setShortcut(shortcut);
    return action;
}

void MainWindow::buildMenus()
{
    QMenu *file = menuBar()->addMenu(withAccessKey(QStringLiteral("文件(F)")));
    file->setObjectName(QStringLiteral("fileMenu"));
    addMenuAction(file, QStringLiteral("新建"), QKeySequence::New);
    addMenuAction(file, QStringLiteral("续开"));
    addMenuAction(file, QStringLiteral("保存"), QKeySequence::Save);
    file->addSeparator();
    addMenuAction(file, QStringLiteral("统计"));
    addMenuAction(file, QStringLiteral("门诊日志"));
    file->addSeparator();
    addMenuAction(file, QStringLiteral("打印"), QKeySequence::Print);
    addMenuAction(file, QStringLiteral("在印刷处方上套打"));
    QMenu *preview = file->addMenu(QStringLiteral("打印预览"));
    preview->setObjectName(QStringLiteral("previewMenu"));
    addMenuAction(preview, QStringLiteral("预览处方"));
    addMenuAction(preview, QStringLiteral("预览套打"));
    addMenuAction(preview, QStringLiteral("预览注射卡"));
    addMenuAction(preview, QStringLiteral("预览输液执行卡"));
    addMenuAction(preview, QStringLiteral("预览病史卡"));
    addMenuAction(preview, QStringLiteral("预览门诊日志"));
    file->addSeparator();
    addMenuAction(file, QStringLiteral("数据备份与恢复"));
    // Only a run on the files has anything to move onto a server.
    addMenuAction(file, QStringLiteral("迁移到服务器"))->setVisible(!m_workspace.files().usesServer());
    file->addSeparator();
    QAction *exit = addMenuAction(file, QStringLiteral("退出"));
    exit->setObjectName(QStringLiteral("exitAction"));

    QMenu *settings = menuBar()->addMenu(withAccessKey(QStringLiteral("设置(S)")));
    settings->setObjectName(QStringLiteral("settingsMenu"));
    for (const char *caption : {"药品维护", "个人组套/中医验方维护", "诊断名称维护", "病史模板维护", "地址库维护"})
        addMenuAction(settings, QString::fromUtf8(caption));
    settings->addSeparator();
    addMenuAction(settings, QStringLiteral("综合设置"));

    QMenu *help = menuBar()->addMenu(withAccessKey(QStringLiteral("帮助(H)")));
    help->setObjectName(QStringLiteral("helpMenu"));
    addMenuAction(help, QStringLiteral("在线帮助"));
    addMenuAction(help, QStringLiteral("关于"));

    connect(exit, &QAction::triggered, this, [this] {
        m_exiting = true;
        if (close())
            Q_EMIT exitRequested();
        else
            m_exiting = false;
    });
    connectAction(QStringLiteral("新建"), [this] { m_session->newVisit(); });
    connectAction(QStringLiteral("续开"), [this] {
        if (m_safety->allowRepeat())
            m_session->repeatVisit();
    });
    connectAction(QStringLiteral("保存"), [this] { m_session->saveVisit(); });
    connectAction(QStringLiteral("打印"), [this] {
        if (m_safety->allowPrint())
            m_printing->printSheet();
    });
    connectAction(QStringLiteral("在印刷处方上套打"), [this] {
        if (m_safety->allowPrint())
            m_printing->printOverlay();
    });
    connectAction(QStringLiteral("预览处方"), [this] { m_printing->previewSheet(); });
    connectAction(QStringLiteral("预览套打"), [this] { m_printing->previewOverlay(); });
    connectAction(QStringLiteral("预览注射卡"), [this] { m_printing->previewInjectionCard(); });
    // The cards are previewed from their own windows, which open first when they are not open.
    connectAction(QStringLiteral("预览输液执行卡"), [this] {
        if (!m_infusionCard)
            openCardWindow(m_infusionCard);
        m_infusionCard->printPreview();
    });
    connectAction(QStringLiteral("预览病史卡"), [this] {
        if (!m_historyCard)
            openCardWindow(m_historyCard);
        m_historyCard->printPreview();
    });
    connectAction(QStringLiteral("统计"), [this] { m_reports->openWorkload(); });
    connectAction(QStringLiteral("门诊日志"), [this] { m_reports->openLog(); });
    connectAction(QStringLiteral("预览门诊日志"), [this] { m_reports->previewLog(); });
    connect(m_editor, &PrescriptionEditor::actionRequested, this, &MainWindow::runDocumentAction);
    connectAction(QStringLiteral("复制"), [this] { copyBody(); });
    connectAction(QStringLiteral("粘贴"), [this] { pasteBody(); });
    connectAction(QStringLiteral("在线帮助"), [this] { openHelp(); });
    connectAction(QStringLiteral("关于"), [this] { openAbout(); });
    connectAction(QStringLiteral("综合设置"), [this] { openSettings(); });
    connectAction(QStringLiteral("数据备份与恢复"), [this] { Q_EMIT backupWindowRequested(); });
    connectAction(QStringLiteral("迁移到服务器"), [this] { openServerMigration(); });
    connectAction(QStringLiteral("药品维护"), [this] { m_dictionaries->openDrugCatalogue(); });
    connectAction(QStringLiteral("个人组套/中医验方维护"), [this] { m_dictionaries->openOrderSets(); });
    connectAction(QStringLiteral("诊断名称维护"), [this] { m_dictionaries->openDiagnoses(); });
    connectAction(QStringLiteral("病史模板维护"), [this] { m_dictionaries->openTemplates(); });
    connectAction(QStringLiteral("地址库维护"), [this] { m_dictionaries->openAddresses(); });
    connect(m_editor, &PrescriptionEditor::addToOrderSetsRequested, m_dictionaries, &DictionaryWindows::addSelectionToOrderSets);
    connect(m_areas.history->addToTemplates(), &ClickLabel::clicked, m_dictionaries, &DictionaryWindows::addHistoryToTemplates);

    // Toolbar buttons follow the menu items of the same name.
    const QHash<QString, QString> toolToMenu{{QStringLiteral("日志"), QStringLiteral("门诊日志")},
                                             {QStringLiteral("套打"), QStringLiteral("在印刷处方上套打")},
                                             {QStringLiteral("帮助"), QStringLiteral("在线帮助")}};
    for (PressButton *b : m_toolButtons) {
        const QString caption = b->caption();
        if (caption == QStringLiteral("复制") || caption == QStringLiteral("粘贴"))
            continue;
        QAction *action = menuAction(toolToMenu.value(caption, caption));
        if (!action)
            continue;
        b->setEnabled(action->isEnabled());
        connect(b, &PressButton::activated, action, &QAction::trigger);
    }
}

void MainWindow::connectAction(const QString &caption, const std::function<void()> &run)
{
    // A toolbar button with a menu twin triggers that item (see buildMenus), so it is wired once.
    if (QAction *action = menuAction(caption))
        connect(action, &QAction::triggered, this, run);
    else if (PressButton *b = toolButton(caption))
        connect(b, &PressButton::activated, this, run);
}

PressButton *MainWindow::toolButton(const QString &caption) const
{
    for (PressButton *b : m_toolButtons) {
        if (b->caption() == caption)
            return b;
    }
    return nullptr;
}

QAction *MainWindow::menuAction(const QString &caption) const
{
    return findChild<QAction *>(QStringLiteral("menu_") + caption);
}

void MainWindow::load()
{
    m_areas.drugs->chooseCategory(0, false);
    m_areas.header->refreshTemplates();
    m_areas.browser->listLastMonth();
    try {
        SettingsRow row(m_workspace.settings());
        m_areas.sheet->setInstitution(row.value(QStringLiteral("名称")).value_or(QStringLiteral("示范医院")).trimmed());
        m_editor->applyAutoPricing(row.value(QStringLiteral("自动划价")).value_or(QString()) == QLatin1String("1"));
    } catch (const std::exception &) {
        m_editor->applyAutoPricing(false);
    }
    m_areas.sheet->centreHeadings();
    m_session->newVisit();
    m_areas.grid->total()->clear();
    m_safety->refresh();
    // The key indexes are read after the opening, so that their reading does not hold it up;
    // the lists answer from their statements until they are in.
    QTimer::singleShot(0, this, [this] {
        m_workspace.settings().keyIndexes().startLoading();
        m_workspace.archive().keyIndexes().startLoading();
    });
}

void MainWindow::centreOnScreen()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    const QSize wanted(std::min(area.width(), Twips::toPixels(WindowLayout::kWidth) + 24),
                       std::min(area.height() - Twips::toPixels(400), Twips::toPixels(WindowLayout::kHeight) + menuBar()->sizeHint().height() + 24));
    resize(wanted);
    // 400 twips are left for the task bar.
    move(area.x() + (area.width() - frameGeometry().width()) / 2,
         area.y() + std::max(0, (area.height() - Twips::toPixels(400) - frameGeometry().height()) / 2));
}

void MainWindow::showEvent(QShowEvent *event)
{
    if (!m_centred) {
        m_centred = true;
        centreOnScreen();
    }
    QMainWindow::showEvent(event);
}

void MainWindow::runDocumentAction(int action)
{
    if (action == ActionBarWidget::InjectionCard)
        m_printing->printInjectionCard();
    else if (action == ActionBarWidget::InfusionCard)
        openCardWindow(m_infusionCard);
    else if (action == ActionBarWidget::PrintHistory)
        openCardWindow(m_historyCard);
}

template <typename Window>
void MainWindow::openCardWindow(QPointer<Window> &window)
{
    // A card is made for the visit on screen when it opens; a new opening makes a new card.
    if (window)
        window->close();
    window = new Window(m_workspace, *m_session, this);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
    window->raise();
}

void MainWindow::openSettings()
{
    if (!m_settingsWindow) {
        auto *settings = new SettingsWindow(m_workspace, this);
        settings->setAttribute(Qt::WA_DeleteOnClose);
        connect(settings, &SettingsWindow::saved, m_areas.sheet, &SheetWidget::setInstitution);
        connect(settings, &SettingsWindow::safetyChecksChanged, m_safety, &SafetyGuard::refresh);
        m_settingsWindow = settings;
    }
    m_settingsWindow->show();
    m_settingsWindow->raise();
    m_settingsWindow->activateWindow();
}

SettingsWindow *MainWindow::settingsWindow() const { return qobject_cast<SettingsWindow *>(m_settingsWindow.data()); }

void MainWindow::openServerMigration()
{
    if (!m_migrationWindow) {
        m_migrationWindow = new ServerMigrationWindow(m_workspace, this);
        m_migrationWindow->setAttribute(Qt::WA_DeleteOnClose);
    }
    m_migrationWindow->show();
    m_migrationWindow->raise();
    m_migrationWindow->activateWindow();
}

bool MainWindow::closeDataWindows()
{
    for (QWidget *window : {static_cast<QWidget *>(m_infusionCard.data()), static_cast<QWidget *>(m_historyCard.data()),
                            m_settingsWindow.data()}) {
        if (window && window->isVisible() && !window->close())
            return false;
    }
    // Dictionaries write every change at once; their lists and the reports belong to the old files.
    m_dictionaries->closeAll();
    m_reports->closeAll();
    return true;
}

void MainWindow::copyBody()
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(m_areas.sheet->body()->toPlainText());
}

void MainWindow::pasteBody()
{
    // An empty clipboard empties the body, as pasting "nothing" over it would.
    m_areas.sheet->body()->setPlainText(fromCrLf(QGuiApplication::clipboard()->text()));
}

void MainWindow::openSoftKeyboard()
{
    if (!m_keyboard)
        m_keyboard = new SoftKeyboardWindow;
    const QPoint corner = frameGeometry().topLeft();
    m_keyboard->openAt(corner + Twips::toPixels(11000, 1000));
    m_areas.drugs->searchBox()->setFocus();
}

void MainWindow::openHelp()
{
    // The page ships inside the program; the browser gets a copy in the data folder.
    const QString folder = QDir(m_workspace.paths().dataFolder).filePath(QStringLiteral("帮助"));
    QDir().mkpath(folder);
    const QString page = QDir(folder).filePath(QStringLiteral("index.html"));
    QFile::remove(page);
    QFile::copy(QStringLiteral(":/help/index.html"), page);
    QFile::setPermissions(page, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    MessageDialog::openUrl(this, QUrl::fromLocalFile(page));
}

void MainWindow::openAbout()
{
    auto *about = new AboutDialog(m_workspace.paths(), m_workspace.files().archiveShown(), this);
    about->setAttribute(Qt::WA_DeleteOnClose);
    about->show();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    // Card windows write their margins (and may save the card) as they close; one that stays
    // open because its save failed keeps the whole program open with it.
    for (QWidget *card : {static_cast<QWidget *>(m_infusionCard.data()), static_cast<QWidget *>(m_historyCard.data())}) {
        if (card && card->isVisible() && !card->close()) {
            event->ignore();
            return;
        }
    }
    event->accept();
    m_dictionaries->closeAll();
    m_reports->closeAll();
    if (m_keyboard)
        m_keyboard->close();
    if (!m_exiting)
        Q_EMIT closed();
}

} // namespace quillora
