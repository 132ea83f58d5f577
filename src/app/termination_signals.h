#pragma once

#include <QObject>

class QSocketNotifier;

namespace quillora {

// Turns SIGTERM and SIGHUP (a shutdown, a logout, a closed terminal) into a Qt signal on the
// window thread, so the program can end the normal way and run its backup. While an object
// lives, those signals no longer kill the process; the default comes back when it goes.
class TerminationSignals : public QObject
{
    Q_OBJECT

public:
    explicit TerminationSignals(QObject *parent = nullptr);
    ~TerminationSignals() override;

Q_SIGNALS:
    void received(int signalNumber);

private:
    void drain();
    QSocketNotifier *m_notifier = nullptr;
};

} // namespace quillora
