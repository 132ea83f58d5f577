#include "base/message_dialog.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QDesktopServices>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>

namespace quillora {

bool MessageDialog::s_scripted = false;
QQueue<bool> MessageDialog::s_answers;
QQueue<QString> MessageDialog::s_fileNames;
QQueue<QString> MessageDialog::s_secrets;

namespace {

QMessageBox::Icon boxIcon(MessageDialog::Icon icon)
{
    switch (icon) {
    case MessageDialog::Icon::Information:
        return QMessageBox::Information;
    case MessageDialog::Icon::Exclamation:
        return QMessageBox::Warning;
    case MessageDialog::Icon::Critical:
        return QMessageBox::Critical;
    default:
        return QMessageBox::NoIcon;
    }
}

} // namespace

void MessageDialog::inform(QWidget *parent, const QString &text, Icon icon, const QString &title)
{
    shown() << Shown{title, text, icon};
    if (s_scripted)
        return;
    QMessageBox box(boxIcon(icon), title, text, QMessageBox::Ok, parent);
    box.button(QMessageBox::Ok)->setText(QStringLiteral("确定"));
    box.exec();
}

bool MessageDialog::confirm(QWidget *parent, const QString &text, const QString &title)
{
    shown() << Shown{title, text, Icon::Exclamation};
    if (s_scripted)
        return s_answers.isEmpty() ? true : s_answers.dequeue();
    QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::Ok | QMessageBox::Cancel, parent);
    box.button(QMessageBox::Ok)->setText(QStringLiteral("确定"));
    box.button(QMessageBox::Cancel)->setText(QStringLiteral("取消"));
    return box.exec() == QMessageBox::Ok;
}

bool MessageDialog::choose(QWidget *parent, const QString &text, const QString &first, const QString &second, Icon icon,
                           const QString &title)
{
    return twoButtons(parent, TwoButtons{title, text, icon, first, second, true});
}

bool MessageDialog::askToProceed(QWidget *parent, const QString &text, const QString &proceed, const QString &stop,
                                 const QString &title)
{
    return twoButtons(parent, TwoButtons{title, text, Icon::Exclamation, proceed, stop, false});
}

bool MessageDialog::twoButtons(QWidget *parent, const TwoButtons &question)
{
    shown() << Shown{question.title, question.text, question.icon};
    if (s_scripted)
        return s_answers.isEmpty() ? true : s_answers.dequeue();
    QMessageBox box(boxIcon(question.icon), question.title, question.text, QMessageBox::NoButton, parent);
    QPushButton *yes = box.addButton(question.yes, QMessageBox::AcceptRole);
    QPushButton *no = box.addButton(question.no, QMessageBox::RejectRole);
    box.setDefaultButton(question.yesIsDefault ? yes : no);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

std::optional<QString> MessageDialog::askSecret(QWidget *parent, const QString &text, const QString &title)
{
    shown() << Shown{title, text, Icon::None};
    if (s_scripted) {
        const QString secret = s_secrets.isEmpty() ? QString() : s_secrets.dequeue();
        return secret.isNull() ? std::nullopt : std::optional<QString>(secret);
    }
    QInputDialog dialog(parent);
    dialog.setWindowTitle(title);
    dialog.setLabelText(text);
    // Long texts (a server's words) wrap instead of stretching the dialog across the screen.
    if (auto *label = dialog.findChild<QLabel *>()) {
        label->setWordWrap(true);
        label->setMinimumWidth(420);
        label->setMaximumWidth(560);
    }
    dialog.setTextEchoMode(QLineEdit::Password);
    dialog.setOkButtonText(QStringLiteral("确定"));
    dialog.setCancelButtonText(QStringLiteral("取消"));
    if (auto *field = dialog.findChild<QLineEdit *>())
        field->setAccessibleName(QStringLiteral("密码"));
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue();
}

QString MessageDialog::saveFileName(QWidget *parent, const QString &caption, const QString &suggested, const QString &filter)
{
    if (s_scripted)
        return s_fileNames.isEmpty() ? QString() : s_fileNames.dequeue();
    return QFileDialog::getSaveFileName(parent, caption, suggested, filter);
}

void MessageDialog::openUrl(QWidget *parent, const QUrl &url)
{
    openedUrls() << url;
    if (s_scripted)
        return;
    if (!QDesktopServices::openUrl(url))
        inform(parent, QStringLiteral("无法打开浏览器，请手动打开：%1").arg(url.toLocalFile()), Icon::Exclamation);
}

QList<QUrl> &MessageDialog::openedUrls()
{
    static QList<QUrl> urls;
    return urls;
}

void MessageDialog::setScripted(bool scripted)
{
    s_scripted = scripted;
    s_answers.clear();
    s_fileNames.clear();
    s_secrets.clear();
    shown().clear();
    openedUrls().clear();
}

void MessageDialog::setNextAnswer(bool ok) { s_answers.enqueue(ok); }

void MessageDialog::setNextFileName(const QString &fileName) { s_fileNames.enqueue(fileName); }

void MessageDialog::setNextSecret(const QString &secret) { s_secrets.enqueue(secret); }

QList<MessageDialog::Shown> &MessageDialog::shown()
{
    static QList<Shown> list;
    return list;
}

QString MessageDialog::lastText() { return shown().isEmpty() ? QString() : shown().last().text; }

} // namespace quillora
