#pragma once

#include "data/server_fields.h"

#include <QWidget>

class QComboBox;
class QFormLayout;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

namespace quillora {

class Workspace;

// "迁移到服务器": copies the run's archive and dictionaries into an empty server database,
// shows what was checked, and offers to make the next start use the server.
class ServerMigrationWindow : public QWidget
{
    Q_OBJECT

public:
    explicit ServerMigrationWindow(Workspace &workspace, QWidget *parent = nullptr);

    ServerFields fields() const;
    // "开始迁移".
    void startMigration();
    // "取消迁移", while it runs: stops the copy after the batch at hand and leaves the server empty.
    void cancelMigration();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    QLineEdit *addField(QFormLayout *form, const QString &label, const char *name);
    void showProgress(const QString &step, qint64 done, qint64 total);
    void offerServerFile(const ServerFields &fields);

    Workspace &m_workspace;
    QLineEdit *m_host;
    QLineEdit *m_port;
    QLineEdit *m_database;
    QLineEdit *m_user;
    QLineEdit *m_password;
    QComboBox *m_sslMode;
    QPushButton *m_start;
    QPushButton *m_cancel;
    QProgressBar *m_progress;
    QLabel *m_step;
    QPlainTextEdit *m_result;
    bool m_running = false;
    bool m_cancelRequested = false;
};

} // namespace quillora
