#pragma once

#include <QList>
#include <QQueue>
#include <QString>
#include <optional>

class QUrl;
class QWidget;

namespace quillora {

// Every message box and file dialog of the program goes through here, so that a test can
// read what was said and answer in place of the user without a modal loop.
class MessageDialog
{
public:
    enum class Icon { None, Information, Exclamation, Critical };

    struct Shown
    {
        QString title;
        QString text;
        Icon icon;
    };

    // A message with an OK button, titled "提示" unless told otherwise.
    static void inform(QWidget *parent, const QString &text, Icon icon = Icon::None,
                       const QString &title = QStringLiteral("提示"));
    // OK / Cancel with the exclamation icon; true for OK.
    static bool confirm(QWidget *parent, const QString &text, const QString &title = QStringLiteral("提示"));
    // Two buttons with the given captions; true for the first. Answered like confirm in tests.
    static bool choose(QWidget *parent, const QString &text, const QString &first, const QString &second,
                       Icon icon = Icon::Exclamation, const QString &title = QStringLiteral("提示"));
    // A warning with a button to go on and one to stop, the stop button being the default (Enter
    // and Escape stop); true for going on. Answered like confirm in tests.
    static bool askToProceed(QWidget *parent, const QString &text, const QString &proceed, const QString &stop,
                             const QString &title = QStringLiteral("提示"));
    // A password typed into a masked field; nothing when the user cancelled.
    static std::optional<QString> askSecret(QWidget *parent, const QString &text, const QString &title = QStringLiteral("提示"));
    // A file name to save to, or empty when the user cancelled.
    static QString saveFileName(QWidget *parent, const QString &caption, const QString &suggested, const QString &filter);

    // Opens a page in the system's browser.
    static void openUrl(QWidget *parent, const QUrl &url);
    static QList<QUrl> &openedUrls();

    // Test seam: messages are recorded and not shown; answers come from the queues (OK, no file).
    static void setScripted(bool scripted);
    static void setNextAnswer(bool ok);
    static void setNextFileName(const QString &fileName);
    // The next askSecret is answered with this text (a null text: cancelled).
    static void setNextSecret(const QString &secret);
    static QList<Shown> &shown();
    static QString lastText();

private:
    struct TwoButtons
    {
        QString title, text;
        Icon icon;
        QString yes, no;
        bool yesIsDefault;
    };
    static bool twoButtons(QWidget *parent, const TwoButtons &question);

    static bool s_scripted;
    static QQueue<bool> s_answers;
    static QQueue<QString> s_fileNames;
    static QQueue<QString> s_secrets;
};

} // namespace quillora
