#pragma once
// A song's own offset while it plays: how far the listener has moved its lines from the times
// in its file (later is positive), how much of that the file already keeps, and which file.
#include <QString>

namespace player {

class SongOffset {
  public:
    // Ten minutes either way is more than any song drifts.
    static constexpr int MaxMs = 600000;

    int ShiftMs() const { return shift; }
    // Moved but not yet kept in the file: what the file still has to take.
    int PendingMs() const { return shift - kept; }
    bool Changed() const { return PendingMs() != 0; }

    // Later by deltaMs (sooner when negative), within MaxMs either way.
    void Nudge(int deltaMs);
    // The file now holds the whole shift.
    void Kept() { kept = shift; }
    // The lines go back to what the file holds.
    void Dropped() { shift = kept; }
    // Another song, from the file at path: nothing moved.
    void Reset(const QString& path) {
        shift = kept = 0;
        file = path;
    }
    const QString& Path() const { return file; }

    // What the window shows for a moment: "Lyrics 0.3 s later", "Lyrics 0.05 s sooner",
    // "Lyrics as timed".
    static QString Text(int shiftMs);

  private:
    int shift = 0;
    int kept = 0;
    QString file;
};

}  // namespace player
