#include "bot/proof.h"

#include "bot/auto_player.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <map>
#include <mutex>
#include <sstream>
#include <thread>

namespace plumix::bot {

namespace {

// Every level at least this; the first thirty and the next forty more.
constexpr double FloorRate = 50.0;
constexpr double EarlyRate = 95.0;
constexpr int EarlyLevels = 30;
constexpr double MiddleRate = 80.0;
constexpr int MiddleLevels = 70;
constexpr int GroupSize = 10;
// How much easier a group of ten may be than the group before it.
constexpr double GroupSlack = 5.0;

double Median(std::vector<double> values)
{
    if (values.empty()) {
        return 0.0;
    }
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
}

std::string TasksOf(const LevelDef& def)
{
    std::string out;
    const auto add = [&](const std::string& task) { out += out.empty() ? task : ", " + task; };
    if (def.HasBricks()) {
        int bricks = 0;
        for (const auto& column : def.cells) {
            bricks += static_cast<int>(std::count(column.begin(), column.end(), CellBrick));
        }
        add(std::to_string(bricks) + " bricks");
    }
    if (def.HasQuota()) {
        add("quota " + std::to_string(def.quotas[0]) + "/" + std::to_string(def.quotas[1]) + "/" +
            std::to_string(def.quotas[2]) + "/" + std::to_string(def.quotas[3]));
    }
    if (def.HasTime()) {
        add("survive");
    }
    return out.empty() ? "none" : out;
}

std::string Fixed(double v, int decimals)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, v);
    return buffer;
}

} // namespace

std::vector<LevelSummary> MeasureLevels(const LevelSet& set, const std::vector<int>& levels, int seeds,
                                        int threads, bool untilWon)
{
    struct Job {
        int level;
        int seed;
    };
    std::vector<Job> jobs;
    for (int seed = 1; seed <= seeds; ++seed) {
        for (const int level : levels) {
            jobs.push_back({level, seed});
        }
    }
    std::map<int, std::vector<LevelPlay>> plays;
    std::map<int, bool> won;
    std::mutex mutex;
    std::atomic<std::size_t> next{0};
    const auto work = [&] {
        for (std::size_t i = next++; i < jobs.size(); i = next++) {
            const Job job = jobs[i];
            if (untilWon) {
                const std::lock_guard lock(mutex);
                if (won[job.level]) {
                    continue;
                }
            }
            const LevelPlay play = PlayLevel(set, job.level, static_cast<std::uint32_t>(job.seed));
            const std::lock_guard lock(mutex);
            plays[job.level].push_back(play);
            won[job.level] = won[job.level] || play.won;
        }
    };
    std::vector<std::thread> pool;
    for (int t = 1; t < std::max(threads, 1); ++t) {
        pool.emplace_back(work);
    }
    work();
    for (auto& t : pool) {
        t.join();
    }

    std::vector<LevelSummary> out;
    for (const int level : levels) {
        LevelSummary s;
        s.level = level;
        std::vector<double> figures;
        std::vector<double> seconds;
        for (const LevelPlay& p : plays[level]) {
            ++s.plays;
            if (p.won) {
                ++s.wins;
                figures.push_back(p.figures);
                seconds.push_back(p.seconds);
            }
        }
        s.medianFigures = Median(figures);
        s.medianSeconds = Median(seconds);
        out.push_back(s);
    }
    return out;
}

std::string FormatTable(const LevelSet& set, const std::vector<LevelSummary>& summaries)
{
    std::ostringstream out;
    out << "| level | tasks | speed | seconds | bonus | won | figures | seconds to win |\n";
    out << "|---:|---|---:|---:|:---:|---:|---:|---:|\n";
    for (const LevelSummary& s : summaries) {
        const LevelDef& def = set[static_cast<std::size_t>(s.level)];
        out << "| " << s.level << " | " << TasksOf(def) << " | " << int{def.speed} << " | " << int{def.seconds}
            << " | " << (def.IsBonusRound() ? "yes" : "") << " | " << Fixed(s.WinRate(), 0) << " % | "
            << (s.wins > 0 ? Fixed(s.medianFigures, 0) : "-") << " | "
            << (s.wins > 0 ? Fixed(s.medianSeconds, 1) : "-") << " |\n";
    }
    return out.str();
}

std::vector<std::string> CheckCurve(const std::vector<LevelSummary>& summaries)
{
    std::vector<std::string> faults;
    std::map<int, std::vector<double>> groups;
    for (const LevelSummary& s : summaries) {
        const double need = s.level < EarlyLevels ? EarlyRate : s.level < MiddleLevels ? MiddleRate : FloorRate;
        if (s.WinRate() < need) {
            faults.push_back("level " + std::to_string(s.level) + ": won " + Fixed(s.WinRate(), 0) + " %, needs " +
                             Fixed(need, 0) + " %");
        }
        groups[s.level / GroupSize].push_back(s.WinRate());
    }
    std::map<int, double> means;
    for (const auto& [group, rates] : groups) {
        if (static_cast<int>(rates.size()) == GroupSize) {
            double sum = 0.0;
            for (const double r : rates) {
                sum += r;
            }
            means[group] = sum / GroupSize;
        }
    }
    for (const auto& [group, mean] : means) {
        const auto before = means.find(group - 1);
        if (before != means.end() && mean > before->second + GroupSlack) {
            faults.push_back("levels " + std::to_string(group * GroupSize) + "-" +
                             std::to_string(group * GroupSize + GroupSize - 1) + ": mean " + Fixed(mean, 1) +
                             " %, more than " + Fixed(GroupSlack, 0) + " points above the " +
                             Fixed(before->second, 1) + " % before");
        }
    }
    return faults;
}

std::string WithTable(const std::string& readme, const std::string& table)
{
    const std::string begin = TableBeginMarker;
    const std::string end = TableEndMarker;
    const std::size_t from = readme.find(begin);
    const std::size_t to = from == std::string::npos ? std::string::npos : readme.find(end, from);
    if (from == std::string::npos || to == std::string::npos) {
        std::string out = readme;
        if (!out.empty() && out.back() != '\n') {
            out += '\n';
        }
        return out + "\n" + begin + "\n" + table + end + "\n";
    }
    return readme.substr(0, from + begin.size()) + "\n" + table + readme.substr(to);
}

} // namespace plumix::bot
