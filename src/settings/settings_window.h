#pragma once

#include "data/settings_columns.h"
#include "data/settings_record.h"
#include "settings/settings_layout.h"

#include <QWidget>
#include <array>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QRadioButton;

namespace quillora {

class Workspace;

// "基本设置": the settings row as the doctor edits it, and the password change. Its edits go
// into the settings record as they are typed, so a print before saving uses them; saving writes
// the row, cancelling or closing drops the record so that the next use reads the row again.
class SettingsWindow : public QWidget
{
    Q_OBJECT

public:
    explicit SettingsWindow(Workspace &workspace, QWidget *parent = nullptr);

    // "保  存": writes the row; on success tells the heading and closes.
    void save();
    // "修改密码".
    void changePassword();
    // "打印校准页" / "预览校准页".
    bool printCalibrationPage();
    void previewCalibrationPage();

    // What the controls hold, over the record's values.
    SettingsValues edited() const;
    // Anything changed since the window opened.
    bool hasEdits() const { return edited() != m_shown; }

Q_SIGNALS:
    // The row was saved: the sheet's institution heading to show.
    void saved(const QString &heading);
    // A safety check was switched on or off (not yet saved): the warnings on the sheet follow.
    void safetyChecksChanged();

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QGroupBox *frame(const QString &title, const TwipRect &rect);
    QLineEdit *labelledEdit(QWidget *frame, const SettingsLayout::LabelledBox &box, const char *name, bool setting);
    void buildGeneral();
    void buildPassword();
    void buildPrint();
    void buildHint();
    void buildOverlay();
    void buildSafetyChecks();
    void buildButtons();
    void load();
    void storeEdits();
    void tickChanged(int item);

    Workspace &m_workspace;
    std::array<QLineEdit *, 6> m_general{};
    std::array<QLineEdit *, 6> m_margins{};
    QComboBox *m_font = nullptr;
    QComboBox *m_size = nullptr;
    QComboBox *m_paper = nullptr;
    QRadioButton *m_portrait = nullptr;
    QRadioButton *m_landscape = nullptr;
    QLineEdit *m_oldPassword = nullptr;
    QLineEdit *m_newPassword = nullptr;
    std::array<QCheckBox *, kOverlayItemCount> m_ticks{};
    std::array<QLineEdit *, kOverlayItemCount> m_lefts{};
    std::array<QLineEdit *, kOverlayItemCount> m_tops{};
    std::array<QCheckBox *, kSafetyCheckCount> m_safetyChecks{};
    SettingsValues m_shown;  // as loaded, to tell whether anything was edited
    bool m_loading = false;
    bool m_saved = false;
    bool m_centred = false;
};

} // namespace quillora
