#include "online/ChallengeSolver.h"

#include <limits>

namespace online {

ChallengeSolver::ChallengeSolver(QObject* parent) : QObject(parent) {
    progressTimer.setInterval(ProgressIntervalMs);
    connect(&progressTimer, &QTimer::timeout, this,
            [this] { emit Progress(tried.load(), expected); });
}

ChallengeSolver::~ChallengeSolver() {
    cancel = true;
    if (worker) {
        worker->wait();
    }
}

bool ChallengeSolver::Start(const Challenge& challenge) {
    if (IsRunning()) {
        return false;
    }
    if (worker) {
        worker->wait();
    }
    cancel = false;
    tried = 0;
    expected = ExpectedTries(challenge);
    worker.reset(QThread::create([this, challenge] {
        const std::optional<quint64> nonce =
            SolveRange(challenge, 0, std::numeric_limits<quint64>::max(), cancel,
                       [this](quint64 count) { tried.store(count, std::memory_order_relaxed); });
        QMetaObject::invokeMethod(
            this, [this, nonce] { Finish(nonce); }, Qt::QueuedConnection);
    }));
    worker->start();
    progressTimer.start();
    return true;
}

void ChallengeSolver::Cancel() {
    cancel = true;
}

bool ChallengeSolver::IsRunning() const {
    return progressTimer.isActive();
}

void ChallengeSolver::Finish(std::optional<quint64> nonce) {
    progressTimer.stop();
    worker->wait();
    if (nonce && !cancel) {
        emit Solved(*nonce);
    } else {
        emit Cancelled();
    }
}

}  // namespace online
