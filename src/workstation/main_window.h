#pragma once

#include "printing/history_card_window.h"
#include "printing/infusion_card_window.h"
#include "text/soft_keyboard_window.h"
#include "workstation/workstation_areas.h"

#include <QMainWindow>
#include <QPointer>

class QAction;

namespace quillora {



class DictionaryWindows;
class PrescriptionEditor;
class PrintActions;
class SafetyGuard;
class SettingsWindow;
class PressButton;
class ReportWindows;
class SoftKeyboardWindow;
class VisitSession;
class Workspace;

// The prescription workstation: one visit at a time, drawn as a prescription sheet with the
// drug entry, visit browser, injection card, history notes and price grid around it.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(Workspace &workspace, QWidget *parent = nullptr);
    ~MainWindow() override;

    const WorkstationAreas &areas() const { return m_areas; }
    VisitSession &session() const { return *m_session; }
    PrescriptionEditor &editor() const { return *m_editor; }
    PrintActions &printing() const { return *m_printing; }
    SafetyGuard &safety() const { return *m_safety; }
    ReportWindows &reports() const { return *m_reports; }
    PressButton *toolButton(const QString &caption) const;
    QAction *menuAction(const QString &caption) const;
    SoftKeyboardWindow *softKeyboard() const { return m_keyboard; }

    // Toolbar "复制" / "粘贴": the whole body to and from the clipboard.
    void copyBody();
    void pasteBody();
    void openSoftKeyboard();
    void openHelp();
    void openAbout();
    // "迁移到服务器": opened once and raised when it is open.
    void openServerMigration();
    QWidget *serverMigrationWindow() const { return m_migrationWindow; }
    // The action bar's documents: history card, injection card, infusion card.
    void runDocumentAction(int action);
    InfusionCardWindow *infusionCard() const { return m_infusionCard; }
    HistoryCardWindow *historyCard() const { return m_historyCard; }
    DictionaryWindows &dictionaries() const { return *m_dictionaries; }
    // "综合设置": the settings window, opened once and raised when it is open.
    void openSettings();
    SettingsWindow *settingsWindow() const;
    // Before the data files are replaced: the windows that hold data of their own close
    // (a card asks about its changes first); false when one stays open.
    bool closeDataWindows();
    // Reads everything shown from the files again (after a restore) and starts a new visit.
    void load();

Q_SIGNALS:
    // "退出": the program ends at once, without the backup.
    void exitRequested();
    // The window was closed by its close box or by the system: the backup runs.
    void closed();
    // "数据备份与恢复".
    void backupWindowRequested();

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void buildCanvas();
    void buildToolbar(QWidget *canvas);
    void buildMenus();
    void layOutRightColumn(bool pricingShown);
    template <typename Window>
    void openCardWindow(QPointer<Window> &window);
    void centreOnScreen();
    QAction *addMenuAction(class QMenu *menu, const QString &caption, const QKeySequence &shortcut = {});
    void connectAction(const QString &caption, const std::function<void()> &run);

    Workspace &m_workspace;
    WorkstationAreas m_areas;
    PrescriptionEditor *m_editor = nullptr;
    PrintActions *m_printing = nullptr;
    SafetyGuard *m_safety = nullptr;
    ReportWindows *m_reports = nullptr;
    VisitSession *m_session = nullptr;
    DictionaryWindows *m_dictionaries = nullptr;
    QList<PressButton *> m_toolButtons;
    QPointer<SoftKeyboardWindow> m_keyboard;
    QPointer<InfusionCardWindow> m_infusionCard;
    QPointer<HistoryCardWindow> m_historyCard;
    QPointer<QWidget> m_settingsWindow;
    QPointer<QWidget> m_migrationWindow;
    bool m_exiting = false;
    bool m_centred = false;
};

// The canvas the areas are placed on, in twips.
namespace WindowLayout {
constexpr int kToolbarHeight = 780;
constexpr int kRightLeft = 10020;
constexpr int kPriceLeft = 15045;
// The safety strip lies under the sheet, outside the paper form.
constexpr int kStripTop = 9810, kStripHeight = 300;
constexpr int kBottomRowTop = kStripTop + kStripHeight + 30, kBottomRowHeight = 375;
constexpr int kWidth = 20160, kHeight = kBottomRowTop + kBottomRowHeight + 60;
} // namespace WindowLayout

} // namespace quillora
