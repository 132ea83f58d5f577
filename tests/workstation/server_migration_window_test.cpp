#include "data/pg_connection.h"
#include "data/server_address.h"
#include "workstation/main_window_fixture.h"
#include "support/pg_cluster.h"
#include "workstation/server_migration_window.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTimer>
#include <QProgressBar>
#include <QPushButton>

using namespace quillora;
using namespace quillora::test;

namespace {

// The main window on the run's files, and an empty database of the test cluster.
class ServerMigrationWindowTest : public MainWindowTest
{
protected:
    using MainWindowTest::find;
    using WindowTest::find;

    void SetUp() override
    {
        MainWindowTest::SetUp();
        MessageDialog::shown().clear();
        QUILLORA_CLUSTER_OR_SKIP(cluster);
        target = std::make_unique<PgDatabase>(*cluster);
        QAction *menu = window->menuAction(QStringLiteral("迁移到服务器"));
        ASSERT_NE(menu, nullptr);
        ASSERT_TRUE(menu->isVisible());
        menu->trigger();
        migration = window->serverMigrationWindow();
        ASSERT_NE(migration, nullptr);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(migration));
    }

    // The cluster's connection string as the doctor would type it, field by field.
    void typeTarget()
    {
        const QStringList parts = target->conninfo().split(QLatin1Char(' '));
        for (const QString &part : parts) {
            const QString key = part.section(QLatin1Char('='), 0, 0);
            const QString value = part.section(QLatin1Char('='), 1);
            const QString name = key == QLatin1String("host")     ? QStringLiteral("serverHost")
                                 : key == QLatin1String("port")   ? QStringLiteral("serverPort")
                                 : key == QLatin1String("user")   ? QStringLiteral("serverUser")
                                                                  : QStringLiteral("serverDatabase");
            QLineEdit *edit = find<QLineEdit>(migration, name);
            edit->clear();
            type(edit, value);
        }
        type(find<QLineEdit>(migration, QStringLiteral("serverPassword")), QStringLiteral("秘密'pw"));
    }
    void start() { click(find<QPushButton>(migration, QStringLiteral("startMigrationButton"))); }
    QString resultText() { return find<QPlainTextEdit>(migration, QStringLiteral("migrationResult"))->toPlainText(); }
    QString serverFile() const { return QDir(workspace->paths().dataFolder).filePath(QString::fromUtf8(kServerFileName)); }

    std::unique_ptr<PgDatabase> target;
    QWidget *migration = nullptr;
};

TEST_F(ServerMigrationWindowTest, MigratesShowsEachTableAndWritesTheConnectionFileWithoutThePassword)
{
    typeTarget();
    MessageDialog::setNextAnswer(true);  // write the connection file
    start();

    const QString shown = resultText();
    EXPECT_TRUE(shown.startsWith(QStringLiteral("迁移完成"))) << shown.toStdString();
    for (const char *table : {"档案", "患者信息", "密码", "设置", "药品", "个人组套", "病史模板", "诊断", "地址"})
        EXPECT_TRUE(shown.contains(QString::fromUtf8(table) + QLatin1Char('\t'))) << table;
    EXPECT_FALSE(shown.contains(QStringLiteral("不一致")));
    const QProgressBar *progress = find<QProgressBar>(migration, QStringLiteral("migrationProgress"));
    EXPECT_EQ(progress->value(), progress->maximum());
    EXPECT_GT(progress->maximum(), 1);
    const QByteArray file = readFile(serverFile());
    ASSERT_FALSE(file.isEmpty());
    EXPECT_FALSE(file.contains("秘密")) << file.constData();
    EXPECT_FALSE(file.contains("password"));
    EXPECT_TRUE(MessageDialog::shown().first().text.contains(QStringLiteral("登录时询问")));
    const ServerAddress address = chooseServer({QStringLiteral("quillora")}, workspace->paths().dataFolder);
    EXPECT_TRUE(address.problem.isEmpty()) << address.problem.toStdString();
    EXPECT_EQ(PgConnection::databaseNameOf(address.conninfo), PgConnection::databaseNameOf(target->conninfo()));
}

TEST_F(ServerMigrationWindowTest, CancellingStopsTheCopyAndLeavesTheServerEmpty)
{
    typeTarget();
    QPushButton *cancel = find<QPushButton>(migration, QStringLiteral("cancelMigrationButton"));
    EXPECT_FALSE(cancel->isEnabled());
    bool enabledWhileRunning = false;
    // Pressed as soon as the window takes input during the copy.
    QTimer::singleShot(0, migration, [&] {
        enabledWhileRunning = cancel->isEnabled();
        click(cancel);
    });
    start();

    EXPECT_TRUE(enabledWhileRunning);
    EXPECT_FALSE(cancel->isEnabled());
    ASSERT_FALSE(MessageDialog::shown().isEmpty());
    EXPECT_EQ(MessageDialog::shown().last().icon, MessageDialog::Icon::Information);
    EXPECT_TRUE(MessageDialog::lastText().startsWith(QStringLiteral("迁移已取消"))) << MessageDialog::lastText().toStdString();
    EXPECT_EQ(find<QLabel>(migration, QStringLiteral("migrationStep"))->text(), QStringLiteral("已取消"));
    Database server;
    server.openServer(target->conninfo());
    EXPECT_EQ(server.server()->query(QStringLiteral("SELECT 1 FROM pg_tables WHERE schemaname = 'public'")).rowCount(), 0);
    EXPECT_FALSE(QFile::exists(serverFile()));
}

TEST_F(ServerMigrationWindowTest, AFailureSaysWhatAndThatTheFilesAreUnchanged)
{
    fillServerDatabase(target->conninfo(), fillArchive);
    typeTarget();
    start();

    ASSERT_FALSE(MessageDialog::shown().isEmpty());
    EXPECT_EQ(MessageDialog::shown().last().icon, MessageDialog::Icon::Critical);
    EXPECT_TRUE(MessageDialog::lastText().contains(QStringLiteral("不是空的"))) << MessageDialog::lastText().toStdString();
    EXPECT_TRUE(resultText().contains(QStringLiteral("本机文件都没有改动")));
    EXPECT_FALSE(QFile::exists(serverFile()));
}

TEST_F(ServerMigrationWindowTest, BadFieldsAreRefusedBeforeAnyConnection)
{
    typeTarget();
    const struct { const char *field; QString value; QString message; } cases[] = {
        {"serverHost", QString(), QStringLiteral("请填写服务器地址。")},
        {"serverPort", QStringLiteral("54a"), QStringLiteral("端口“54a”不是 1 到 65535 之间的数字。")},
        {"serverPort", QStringLiteral("70000"), QStringLiteral("端口“70000”不是 1 到 65535 之间的数字。")},
        {"serverDatabase", QString(), QStringLiteral("请填写数据库。")},
        {"serverUser", QStringLiteral("a#b"), QStringLiteral("用户名不能以空格开头或结尾，也不能含有 # 或换行。")},
    };
    for (const auto &c : cases) {
        QLineEdit *edit = find<QLineEdit>(migration, QString::fromLatin1(c.field));
        const QString kept = edit->text();
        edit->clear();
        type(edit, c.value);
        start();
        EXPECT_EQ(MessageDialog::lastText(), c.message) << c.field;
        edit->clear();
        type(edit, kept);
    }
    EXPECT_TRUE(resultText().isEmpty());
}

} // namespace

namespace {

TEST(ServerMigrationMenu, ARunOnTheServerHasNothingToMove)
{
    QUILLORA_CLUSTER_OR_SKIP(cluster);
    MessageDialog::setScripted(true);
    PgDatabase archive(*cluster), settings(*cluster);
    fillServerDatabase(archive.conninfo(), fillArchive);
    fillServerDatabase(settings.conninfo(), fillSettings);
    TempProgramFolder folder;
    Workspace workspace(folder.paths());
    workspace.files().useServer(archive.conninfo(), settings.conninfo());
    workspace.files().open();
    {
        MainWindow window(workspace);
        QAction *menu = window.menuAction(QStringLiteral("迁移到服务器"));
        ASSERT_NE(menu, nullptr);
        EXPECT_FALSE(menu->isVisible());
    }
    workspace.files().close();
}

} // namespace
