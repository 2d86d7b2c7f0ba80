#include "online/PublishJob.h"

namespace online {

namespace {
const Result CancelledResult{Outcome::Cancelled, 0, {}, std::nullopt};
}

PublishJob::PublishJob(LrclibClient& client, QObject* parent) : QObject(parent), client(client) {
    connect(&solver, &ChallengeSolver::Progress, this, &PublishJob::Progress);
    connect(&solver, &ChallengeSolver::Cancelled, this, [this] { End(CancelledResult); });
    connect(&solver, &ChallengeSolver::Solved, this, [this](quint64 nonce) {
        stage = Stage::Sending;
        emit Sending();
        connect(this->client.Publish(song, challenge, nonce), &LrclibRequest::Finished, this,
                [this](const Result& result) { End(result); });
    });
}

bool PublishJob::Start(const LyricsRecord& newSong) {
    if (stage != Stage::Idle) {
        return false;
    }
    song = newSong;
    stage = Stage::Asking;
    connect(client.RequestChallenge(), &LrclibRequest::Finished, this,
            [this](const Result& result) {
                if (stage != Stage::Asking) {
                    return;
                }
                if (result.What != Outcome::Ok) {
                    End(result);
                    return;
                }
                challenge = *result.Issued;
                stage = Stage::Solving;
                solver.Start(challenge);
            });
    return true;
}

bool PublishJob::Cancel() {
    switch (stage) {
        case Stage::Asking:
            End(CancelledResult);
            return true;
        case Stage::Solving:
            solver.Cancel();
            return true;
        default:
            return false;
    }
}

void PublishJob::End(const Result& result) {
    stage = Stage::Done;
    emit Finished(result);
}

}  // namespace online
