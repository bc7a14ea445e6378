// Stand-ins for the rules' ports: a virtual clock that fires due timers in
// time order, a scripted random sequence, and recorders for cells, sounds,
// status changes and dialogs.
#pragma once

#include "engine/ports.h"

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace plumix::testing {

class VirtualClock : public TimerPort {
public:
    using Handler = std::function<void(TimerId)>;
    void SetHandler(Handler handler) { handler_ = std::move(handler); }

    void SetInterval(TimerId id, int ms) override;
    int Interval(TimerId id) const override { return timer(id).interval; }
    void SetEnabled(TimerId id, bool enabled) override;
    bool IsEnabled(TimerId id) const override { return timer(id).enabled; }

    // Advances time by `ms`, firing every due tick in order of its due time
    // (ties in timer order), one handler at a time.
    void Advance(std::int64_t ms);
    // Advances to the next tick of any timer and fires it; false if none runs.
    bool Step();
    // Runs until `done` holds or `limitMs` of virtual time have passed.
    bool RunUntil(const std::function<bool()>& done, std::int64_t limitMs = 600000);
    std::int64_t Now() const { return now_; }
    bool Running(TimerId id) const { return timer(id).enabled && timer(id).interval > 0; }
    // Ticks fired so far per timer.
    int Fired(TimerId id) const { return timer(id).fired; }

private:
    struct Timer {
        int interval = 0;
        bool enabled = false;
        std::int64_t due = 0;
        int fired = 0;
    };
    Timer& timer(TimerId id) { return timers_[static_cast<std::size_t>(id)]; }
    const Timer& timer(TimerId id) const { return timers_[static_cast<std::size_t>(id)]; }
    bool NextDue(std::int64_t limit, TimerId& id) const;
    void Fire(TimerId id);

    std::array<Timer, TimerCount> timers_{};
    std::int64_t now_ = 0;
    Handler handler_;
};

// Returns the scripted numbers in order, then `fallback` for ever.
class ScriptedRandom : public RandomSource {
public:
    explicit ScriptedRandom(std::vector<double> values = {}, double fallback = 0.0)
        : values_(values.begin(), values.end()), fallback_(fallback) {}
    double Next() override;
    void Push(double value) { values_.push_back(value); }
    // Queues the draw that makes SpawnFigure choose figure n (1..28).
    void PushFigure(int n) { Push((n - 1 + 0.5) / 28.0); }
    int Draws() const { return draws_; }

private:
    std::deque<double> values_;
    double fallback_;
    int draws_ = 0;
};

class CellRecorder : public CellPainter {
public:
    CellRecorder() { board.fill(-1); preview.fill(-1); }
    void PaintBoardCell(int index, int palette) override;
    void PaintPreviewCell(int index, int palette) override;
    std::array<int, 200> board{};
    std::array<int, 16> preview{};
    std::int64_t paints = 0;
    bool outOfRange = false;
};

class SoundRecorder : public SoundPort {
public:
    void PlaySfx(std::string_view name) override { played.emplace_back(name); }
    std::vector<std::string> played;
};

class StatusCounter : public StatusView {
public:
    void StatusChanged() override { ++changes; }
    int changes = 0;
};

// Answers questions from a script (Yes when the script is empty) and records
// every window the rules asked for.
class ScriptedDialogs : public DialogPort {
public:
    void ShowMessage(std::string_view text) override { messages.emplace_back(text); }
    void AskYesNo(std::string_view prompt, std::string_view title, std::function<void(bool)> answer) override;
    void ShowRecordEntry(int endedMode, int place) override { recordEntries.push_back({endedMode, place}); }

    std::deque<bool> answers;
    // When set, questions wait here until the test answers them.
    bool holdQuestions = false;
    std::function<void(bool)> pending;
    std::vector<std::string> messages;
    std::vector<std::pair<std::string, std::string>> questions;
    struct Entry { int mode; int place; };
    std::vector<Entry> recordEntries;
};

} // namespace plumix::testing
