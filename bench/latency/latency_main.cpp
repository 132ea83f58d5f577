// Key-to-paint latency of the main window on a generated archive: a key event goes into a
// search box, events run until the list under it has repainted, and the time is taken.
// Runs on the offscreen platform; `quillora_latency 1 10` measures the 1x and 10x archives.

#include "../scale_data.h"

#include "app/login_gate.h"
#include "app/login_window.h"
#include "base/app_paths.h"
#include "base/clock.h"
#include "base/fonts.h"
#include "base/message_dialog.h"
#include "data/key_indexes.h"
#include "data/workspace.h"
#include "workstation/main_window.h"

#include <QAbstractItemView>
#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <malloc.h>
#include <cstdio>
#include <memory>
#include <vector>

using namespace quillora;

namespace {

// Notes when a widget has painted.
class PaintWatch : public QObject
{
public:
    explicit PaintWatch(QWidget *widget) : m_widget(widget) { widget->installEventFilter(this); }
    ~PaintWatch() override { m_widget->removeEventFilter(this); }
    bool painted = false;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            painted = true;
        return false;
    }

private:
    QWidget *m_widget;
};

struct Samples
{
    std::vector<double> ms;
    int unpainted = 0;
    void add(double value) { ms.push_back(value); }
    double at(double share) const
    {
        std::vector<double> sorted = ms;
        std::sort(sorted.begin(), sorted.end());
        return sorted.empty() ? 0 : sorted[std::min(sorted.size() - 1, size_t(share * double(sorted.size())))];
    }
    int over(double limit) const { return int(std::count_if(ms.begin(), ms.end(), [limit](double v) { return v > limit; })); }
};

void report(int factor, const char *what, const Samples &s)
{
    std::printf("%3dx  %-34s n=%3zu  median %7.2f ms  p90 %7.2f ms  max %7.2f ms  >16ms %3d  unpainted %d\n", factor, what,
                s.ms.size(), s.at(0.5), s.at(0.9), s.at(1.0), s.over(16), s.unpainted);
    std::fflush(stdout);
}

// Runs events until the watched widget has painted (or a second has gone); the time since start.
double untilPainted(PaintWatch &watch, const QElapsedTimer &timer, int *unpainted)
{
    // A list that stays hidden (nothing found) never paints: a few idle rounds end the wait.
    for (int round = 0; !watch.painted && round < 50 && timer.elapsed() < 1000; ++round)
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    if (!watch.painted && unpainted)
        ++*unpainted;
    return timer.nsecsElapsed() / 1e6;
}

void settle()
{
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void sendText(QWidget *box, const QString &text)
{
    QKeyEvent press(QEvent::KeyPress, text.at(0).unicode() < 128 ? Qt::Key(text.at(0).toUpper().unicode()) : Qt::Key(0),
                    Qt::NoModifier, text);
    QApplication::sendEvent(box, &press);
    QKeyEvent release(QEvent::KeyRelease, press.key(), Qt::NoModifier, text);
    QApplication::sendEvent(box, &release);
}

// Types each word into the box key by key (the box emptied before each word) and times every
// key up to the repaint of the list.
Samples typeWords(QLineEdit *box, QAbstractItemView *list, const QStringList &words, int rounds)
{
    Samples samples;
    box->setFocus();
    for (int r = 0; r < rounds; ++r) {
        for (const QString &word : words) {
            box->clear();
            settle();
            for (const QChar c : word) {
                PaintWatch watch(list->viewport());
                QElapsedTimer timer;
                timer.start();
                sendText(box, QString(c));
                samples.add(untilPainted(watch, timer, &samples.unpainted));
            }
            settle();
        }
    }
    box->clear();
    settle();
    return samples;
}

Samples clickTimes(QAbstractButton *button, QAbstractItemView *list, int rounds, const std::function<void()> &before = {})
{
    Samples samples;
    for (int r = 0; r < rounds; ++r) {
        if (before)
            before();
        settle();
        PaintWatch watch(list->viewport());
        QElapsedTimer timer;
        timer.start();
        button->click();
        samples.add(untilPainted(watch, timer, &samples.unpainted));
    }
    return samples;
}

// The heap a second copy of a file's key indexes takes (the file's pages are already cached by
// the first, so what grows is the indexes alone).
double indexMegabytes(Database &db)
{
    const std::size_t before = mallinfo2().uordblks;
    auto copy = std::make_unique<KeyIndexes>(db);
    copy->loadNow();
    const std::size_t after = mallinfo2().uordblks;
    return (double(after) - double(before)) / (1024.0 * 1024.0);
}

template <typename T>
T *child(QWidget *window, const char *name)
{
    T *widget = window->findChild<T *>(QLatin1String(name));
    if (!widget)
        std::fprintf(stderr, "no element %s\n", name);
    return widget;
}

void measure(int factor)
{
    const QString folder = bench::scaleProgramFolder(bench::Scale{factor});
    AppPaths paths;
    paths.programFolder = folder;
    paths.executablePath = QCoreApplication::applicationFilePath();
    paths.dataFolder = folder + QStringLiteral("/档案数据库");
    paths.backupRoot = folder + QStringLiteral("/电子处方数据备份");
    Workspace workspace(paths);
    workspace.files().open();

    {
        // The program shows the login window first, which sets up what every first window
        // of a process sets up (style, fonts); the main window opens after it.
        LoginWindow login(LoginGate(QStringLiteral("816"), QString()));
        login.show();
        settle();
        warmUpFormFonts();  // as the program does while the login window waits
    }
    Samples open;
    std::unique_ptr<MainWindow> window;
    for (int i = 0; i < 5; ++i) {
        window.reset();
        // Each opening as at login: no index load of an earlier window reading beside it.
        workspace.settings().keyIndexes().stopLoading();
        workspace.archive().keyIndexes().stopLoading();
        settle();
        QElapsedTimer timer;
        timer.start();
        window = std::make_unique<MainWindow>(workspace);
        PaintWatch watch(window.get());
        window->show();
        open.add(untilPainted(watch, timer, &open.unpainted));
    }
    report(factor, "main window open (to first paint)", open);
    window->activateWindow();
    QTest::qWaitForWindowActive(window.get());
    settle();
    {
        // The key indexes load behind the opened window; the keystrokes are timed once they are in.
        QElapsedTimer timer;
        timer.start();
        while (!(workspace.settings().keyIndexes().isLoaded() && workspace.archive().keyIndexes().isLoaded())
               && timer.elapsed() < 120000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        std::printf("%3dx  key indexes loaded %lld ms after the window opened\n", factor, qint64(timer.elapsed()));
        std::printf("%3dx  key indexes hold %.1f MB (settings) + %.1f MB (archive) of memory\n", factor,
                    indexMegabytes(workspace.settings()), indexMegabytes(workspace.archive()));
    }

    auto *drugBox = child<QLineEdit>(window.get(), "Text1");
    auto *drugList = child<QAbstractItemView>(window.get(), "List1");
    report(factor, "drug code key", typeWords(drugBox, drugList, {QStringLiteral("amxl"), QStringLiteral("tbkw"), QStringLiteral("gmq"), QStringLiteral("qxz")}, 4));
    report(factor, "drug code key, no match", typeWords(drugBox, drugList, {QStringLiteral("zzqqxx")}, 8));

    auto *name = child<QLineEdit>(window.get(), "Text7_0");
    auto *patients = child<QAbstractItemView>(window.get(), "List6");
    report(factor, "patient name key", typeWords(name, patients, {QStringLiteral("王伟"), QStringLiteral("李芳"), QStringLiteral("zw"), QStringLiteral("chen")}, 5));
    report(factor, "patient name key, no match", typeWords(name, patients, {QStringLiteral("qqxxzz"), QStringLiteral("鑫鑫鑫")}, 6));

    auto *diagnosis = child<QLineEdit>(window.get(), "Text7_8");
    auto *diagnoses = child<QAbstractItemView>(window.get(), "List2");
    report(factor, "diagnosis key", typeWords(diagnosis, diagnoses, {QStringLiteral("gm"), QStringLiteral("急性"), QStringLiteral("qxz")}, 6));
    auto *address = child<QLineEdit>(window.get(), "Text7_6");
    auto *addresses = child<QAbstractItemView>(window.get(), "List5");
    report(factor, "address key", typeWords(address, addresses, {QStringLiteral("dc"), QStringLiteral("东村"), QStringLiteral("zzq")}, 6));
    auto *filter = child<QLineEdit>(window.get(), "Text5");
    auto *templates = child<QAbstractItemView>(window.get(), "List3");
    report(factor, "template key", typeWords(filter, templates, {QStringLiteral("jx"), QStringLiteral("ks"), QStringLiteral("zzq")}, 6));

    auto *results = child<QAbstractItemView>(window.get(), "List4");
    report(factor, "今日患者", clickTimes(child<QPushButton>(window.get(), "Command4"), results, 10));
    report(factor, "<< (previous day)", clickTimes(child<QPushButton>(window.get(), "Command5"), results, 10));
    report(factor, ">> (next day)", clickTimes(child<QPushButton>(window.get(), "Command6"), results, 10));
    auto *visitName = child<QLineEdit>(window.get(), "Text2");
    report(factor, "ten-year name search (查询)",
           clickTimes(child<QPushButton>(window.get(), "Command2"), results, 6, [&] {
               static int turn = 0;
               visitName->setText(bench::generatedPatientName(turn++ * 7919));
           }));
    window.reset();
    workspace.files().close();
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    installFontSubstitutions();
    MessageDialog::setScripted(true);
    QList<int> factors;
    for (int i = 1; i < argc; ++i)
        factors << QString::fromLocal8Bit(argv[i]).toInt();
    if (factors.isEmpty())
        factors << 1 << 10;
    for (int factor : factors)
        if (factor > 0)
            measure(factor);
    return 0;
}
