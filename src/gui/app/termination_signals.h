#pragma once

#include <QObject>

class QSocketNotifier;

namespace vk::gui {

// Turns Ctrl-C, SIGTERM and SIGHUP into a signal of the event loop, so that the program
// ends the normal way (port released, settings written) instead of dying where it stood.
// The handler only writes to a socket; everything else happens on the event loop. One
// object at a time; the previous handling comes back when it ends.
class TerminationSignals : public QObject {
    Q_OBJECT
public:
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

    // False when the handlers could not be set up (the program then ends as before).
    bool Active() const { return notifier_ != nullptr; }

signals:
    void terminationRequested(int signalNumber);

private:
    void OnReadable();

    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace vk::gui
