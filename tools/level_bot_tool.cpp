// plumix-bot: the automatic player on the levels, one level or all, over many
// seeds, with the table of what it won.
//
//   plumix-bot [FILE] [--level N | --from A --to B] [--seeds N] [--threads N]
//              [--readme README.md] [--check] [--first-win]
//
// FILE is a levels file (default assets/Data/plumix2.bin) or the source form
// (a name ending in .txt). --readme writes the table into that file between
// its marker lines. --check exits with 1 when the difficulty curve is broken.
// --first-win stops each level at its first win, and --check then asks only
// that every level be won within the seeds: quick enough for every test run.
#include "bot/proof.h"
#include "levels/level_source.h"
#include "levels/levels_file.h"
#include "base/file_io.h"

#include <chrono>
#include <cstring>
#include <iostream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace plumix;

std::optional<LevelSet> ReadLevels(const std::string& path)
{
    if (path.size() <= 4 || path.compare(path.size() - 4, 4, ".txt") != 0) {
        const auto bytes = ReadFileBytes(path, LevelsFileBytes);
        if (!bytes) {
            std::cerr << path << ": cannot be read\n";
            return std::nullopt;
        }
        return ParseLevels(*bytes);
    }
    LevelSourceParse parsed = ReadLevelSource(path);
    if (!parsed.source) {
        std::cerr << parsed.error << "\n";
        return std::nullopt;
    }
    return parsed.source->levels;
}

void Usage()
{
    std::cerr << "usage: plumix-bot [FILE] [--level N | --from A --to B] [--seeds N] [--threads N]\n"
                 "                  [--readme README.md] [--check] [--first-win]\n";
}

bool ParseInt(const char* text, int low, int high, int& out)
{
    char* end = nullptr;
    const long v = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || v < low || v > high) {
        return false;
    }
    out = static_cast<int>(v);
    return true;
}

std::vector<std::string> NeverWon(const std::vector<bot::LevelSummary>& summaries)
{
    std::vector<std::string> faults;
    for (const bot::LevelSummary& s : summaries) {
        if (s.wins == 0) {
            faults.push_back("level " + std::to_string(s.level) + " lost with all " + std::to_string(s.plays) +
                             " seeds");
        }
    }
    return faults;
}

} // namespace

int main(int argc, char** argv)
{
    std::string file = "assets/Data/plumix2.bin";
    std::string readme;
    int from = 0;
    int to = LastLevel;
    int seeds = 50;
    int threads = static_cast<int>(std::max(1U, std::thread::hardware_concurrency()));
    bool check = false;
    bool firstWin = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        bool ok = true;
        if (arg == "--level" && hasValue) {
            ok = ParseInt(argv[++i], 0, LastLevel, from);
            to = from;
        } else if (arg == "--from" && hasValue) {
            ok = ParseInt(argv[++i], 0, LastLevel, from);
        } else if (arg == "--to" && hasValue) {
            ok = ParseInt(argv[++i], 0, LastLevel, to);
        } else if (arg == "--seeds" && hasValue) {
            ok = ParseInt(argv[++i], 1, 100000, seeds);
        } else if (arg == "--threads" && hasValue) {
            ok = ParseInt(argv[++i], 1, 64, threads);
        } else if (arg == "--readme" && hasValue) {
            readme = argv[++i];
        } else if (arg == "--check") {
            check = true;
        } else if (arg == "--first-win") {
            firstWin = true;
        } else if (!arg.empty() && arg[0] != '-') {
            file = arg;
        } else {
            ok = false;
        }
        // A table of first wins says nothing of how hard a level is.
        if (!ok || from > to || (firstWin && !readme.empty())) {
            Usage();
            return 2;
        }
    }
    const auto set = ReadLevels(file);
    if (!set) {
        return 2;
    }
    std::vector<int> levels;
    for (int l = from; l <= to; ++l) {
        levels.push_back(l);
    }
    const auto started = std::chrono::steady_clock::now();
    const auto summaries = bot::MeasureLevels(*set, levels, seeds, threads, firstWin);
    const double took = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();

    const std::string table = bot::FormatTable(*set, summaries);
    std::cout << table << "\n";
    for (std::size_t i = 0; i < summaries.size(); i += 10) {
        double sum = 0.0;
        std::size_t n = 0;
        for (std::size_t j = i; j < std::min(i + 10, summaries.size()); ++j, ++n) {
            sum += summaries[j].WinRate();
        }
        std::cout << "levels " << summaries[i].level << "-" << summaries[i + n - 1].level << ": mean "
                  << sum / static_cast<double>(n) << " %\n";
    }
    std::cout << seeds << " seeds, " << levels.size() << " levels, " << threads << " threads: " << took << " s\n";

    if (!readme.empty()) {
        const auto text = ReadFileBytes(readme, MaxLevelSourceBytes);
        if (!text || !ReplaceFileContents(readme, bot::WithTable(*text, table))) {
            std::cerr << readme << ": cannot be updated\n";
            return 2;
        }
    }
    const auto faults = firstWin ? NeverWon(summaries) : bot::CheckCurve(summaries);
    for (const auto& f : faults) {
        std::cout << "FAIL " << f << "\n";
    }
    return check && !faults.empty() ? 1 : 0;
}
