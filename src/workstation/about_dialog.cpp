#include "workstation/about_dialog.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QLabel>
#include <QVBoxLayout>

namespace quillora {

AboutDialog::AboutDialog(const AppPaths &paths, const QString &archive, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("aboutWindow"));
    setWindowTitle(QStringLiteral("关于"));
    auto *name = new QLabel(QStringLiteral("Quillora 电子处方"), this);
    name->setObjectName(QStringLiteral("productName"));
    QFont big = name->font();
    big.setPointSize(16);
    big.setBold(true);
    name->setFont(big);
    auto *version = new QLabel(QStringLiteral("版本 V5.0"), this);
    version->setObjectName(QStringLiteral("versionLabel"));
    QString where = QStringLiteral("数据文件夹：%1").arg(QDir::toNativeSeparators(paths.dataFolder));
    if (paths.dataFolderIsFallback)
        where += QStringLiteral("\n（程序所在文件夹不可写，已改用用户数据文件夹）");
    where += QStringLiteral("\n备份文件夹：%1").arg(QDir::toNativeSeparators(paths.backupRoot));
    where += QStringLiteral("\n病历档案：%1").arg(archive);
    auto *folders = new QLabel(where, this);
    folders->setObjectName(QStringLiteral("dataFolderLabel"));
    folders->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 20, 24, 16);
    layout->setSpacing(10);
    layout->addWidget(name);
    layout->addWidget(version);
    layout->addWidget(folders);
    layout->addWidget(buttons);
}

} // namespace quillora
