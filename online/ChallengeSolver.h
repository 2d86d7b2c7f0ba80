#pragma once
// Solves a challenge in a worker thread, so the window that started it stays responsive;
// it tells how far it got and stops when cancelled.
#include <QObject>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <memory>

#include "online/Challenge.h"

namespace online {

class ChallengeSolver : public QObject {
    Q_OBJECT
  public:
    explicit ChallengeSolver(QObject* parent = nullptr);
    ~ChallengeSolver() override;

    // Starts on a new challenge; false while a search is still running.
    bool Start(const Challenge& challenge);
    // Stops the search; Cancelled follows once the worker has stopped, and nothing else does.
    void Cancel();
    bool IsRunning() const;

    // Milliseconds between Progress reports.
    static constexpr int ProgressIntervalMs = 100;

  signals:
    // tried nonces so far, out of the expected count (which a search may well exceed).
    void Progress(quint64 tried, double expected);
    void Solved(quint64 nonce);
    void Cancelled();

  private:
    void Finish(std::optional<quint64> nonce);

    std::unique_ptr<QThread> worker;
    std::atomic<bool> cancel{false};
    std::atomic<quint64> tried{0};
    double expected = 0;
    QTimer progressTimer;
};

}  // namespace online
