#pragma once
// An online lyrics database as the lyrics window uses it: one question at a
// time, answered asynchronously within a time limit.
#include "lyrics/Lyrics.h"

#include <QString>
#include <functional>
#include <optional>
#include <vector>

struct OnlineQuery {
    QString title;
    QString artist;         // may be empty
    int lengthSeconds = 0;  // 0 when unknown
    bool everyRecord = false;  // every record found, for the listener to pick from
};

// One of the database's records with words, as the listener picks among them.
struct OnlineRecord {
    QString title;
    QString singer;
    QString album;
    double lengthSeconds = 0;
    Lyrics lyrics;
};

struct OnlineAnswer {
    // Choices: records were found, but none of the track's length (or every
    // record was asked for); the listener picks.
    enum Outcome { Found, Choices, NotFound, NoAnswer, Unreachable, Off };
    Outcome outcome = Off;
    std::optional<Lyrics> lyrics;       // with Found
    std::vector<OnlineRecord> choices;  // with Choices, never empty
};

class OnlineLyrics {
public:
    static constexpr int AnswerLimitMs = 5000;

    virtual ~OnlineLyrics() = default;

    // The service's address, such as "https://lrclib.net"; empty: switched off.
    virtual QString BaseAddress() const = 0;
    virtual void SetBaseAddress(const QString& baseAddress) = 0;

    // Starts a question and answers its ticket; the answer handler is called
    // once for it, unless Cancel or the next Ask comes first. With the
    // service off the answer (Off) comes from the event loop.
    virtual int Ask(const OnlineQuery& query) = 0;
    // Ends the question in flight without an answer.
    virtual void Cancel() = 0;

    void OnAnswer(std::function<void(int ticket, const OnlineAnswer& answer)> handler) { answered_ = std::move(handler); }

protected:
    void Answer(int ticket, const OnlineAnswer& answer)
    {
        if (answered_)
            answered_(ticket, answer);
    }

private:
    std::function<void(int, const OnlineAnswer&)> answered_;
};
