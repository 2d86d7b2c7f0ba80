#pragma once
// Giving a timed song to the database: ask for a challenge, solve it in a worker thread,
// then send the song with the solution. One job publishes one song.
#include <QObject>

#include "online/ChallengeSolver.h"
#include "online/LrclibClient.h"

namespace online {

class PublishJob : public QObject {
    Q_OBJECT
  public:
    explicit PublishJob(LrclibClient& client, QObject* parent = nullptr);

    // Starts publishing song; false when this job has already been started.
    bool Start(const LyricsRecord& song);
    // Stops before the song is sent: Finished follows with Cancelled. False once the song
    // is on its way, when only the database's answer can end the job.
    bool Cancel();

  signals:
    // While the challenge is being solved (see ChallengeSolver::Progress).
    void Progress(quint64 tried, double expected);
    // The song is being sent; it can no longer be cancelled.
    void Sending();
    void Finished(const online::Result& result);

  private:
    void End(const Result& result);

    enum class Stage { Idle, Asking, Solving, Sending, Done };
    LrclibClient& client;
    ChallengeSolver solver;
    LyricsRecord song;
    Challenge challenge;
    Stage stage = Stage::Idle;
};

}  // namespace online
