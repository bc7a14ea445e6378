#include "levels/level_source.h"

#include "base/file_io.h"

#include <charconv>
#include <sstream>

namespace plumix {

namespace {

constexpr std::string_view CellChars = ".1234567#";  // index = cell value

std::vector<std::string_view> Words(std::string_view line)
{
    std::vector<std::string_view> words;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) {
            ++i;
        }
        const std::size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t') {
            ++i;
        }
        if (i > start) {
            words.push_back(line.substr(start, i - start));
        }
    }
    return words;
}

std::optional<int> Number(std::string_view word, int max)
{
    int value = 0;
    const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (ec != std::errc() || end != word.data() + word.size() || value < 0 || value > max) {
        return std::nullopt;
    }
    return value;
}

std::string FormatRow(const LevelDef& def, int row)
{
    std::string plain;
    for (int c = 0; c < BoardColumns; ++c) {
        const std::uint8_t v = def.cells[static_cast<std::size_t>(c)][static_cast<std::size_t>(row)];
        if (v >= CellChars.size()) {
            std::string numbers = "=";
            for (int k = 0; k < BoardColumns; ++k) {
                numbers += ' ' + std::to_string(def.cells[static_cast<std::size_t>(k)][static_cast<std::size_t>(row)]);
            }
            return numbers;
        }
        plain += CellChars[v];
    }
    return plain;
}

class Parser {
public:
    explicit Parser(std::string_view text) : text_(text) {}

    LevelSourceParse Run()
    {
        LevelSource source;
        for (int level = 0; level < LevelCount; ++level) {
            level_ = level;
            if (!ParseLevel(source, level)) {
                return {std::nullopt, error_};
            }
        }
        std::vector<std::string> trailing;
        if (NextLine(trailing)) {
            Fail("more than " + std::to_string(LevelCount) + " levels");
            return {std::nullopt, error_};
        }
        if (!trailing.empty()) {
            Fail("notes after the last level");
            return {std::nullopt, error_};
        }
        return {std::move(source), {}};
    }

private:
    bool ParseLevel(LevelSource& source, int level)
    {
        auto& notes = source.notes[static_cast<std::size_t>(level)];
        if (!NextLine(notes)) {
            return Fail("the file ends here; levels 0 to " + std::to_string(LastLevel) + " are needed");
        }
        const std::string expected = "level " + std::to_string(level) + ":";
        if (line_.substr(0, expected.size()) != expected) {
            return Fail("expected \"" + expected + " title\"");
        }
        std::string_view title = line_.substr(expected.size());
        if (!title.empty() && title.front() == ' ') {
            title.remove_prefix(1);
        }
        source.titles[static_cast<std::size_t>(level)] = std::string(title);
        LevelDef& def = source.levels[static_cast<std::size_t>(level)];
        for (int row = 0; row < BoardRows; ++row) {
            if (!NextContent() || !ParseRow(def, row)) {
                return false;
            }
        }
        std::array<int, 4> quotas{};
        if (!Field("quotas", quotas) ) {
            return false;
        }
        for (std::size_t i = 0; i < quotas.size(); ++i) {
            def.quotas[i] = static_cast<std::uint8_t>(quotas[i]);
        }
        std::array<int, 1> one{};
        if (!Field("speed", one)) {
            return false;
        }
        def.speed = static_cast<std::uint8_t>(one[0]);
        if (!Field("seconds", one)) {
            return false;
        }
        def.seconds = static_cast<std::uint8_t>(one[0]);
        if (!Field("bonus", one)) {
            return false;
        }
        def.bonus = static_cast<std::uint8_t>(one[0]);
        return true;
    }

    bool ParseRow(LevelDef& def, int row)
    {
        const auto cell = [&](int c) -> std::uint8_t& {
            return def.cells[static_cast<std::size_t>(c)][static_cast<std::size_t>(row)];
        };
        if (!line_.empty() && line_.front() == '=') {
            const auto words = Words(line_.substr(1));
            if (words.size() != BoardColumns) {
                return Fail("a row of values needs 10 numbers, not " + std::to_string(words.size()));
            }
            for (int c = 0; c < BoardColumns; ++c) {
                const auto v = Number(words[static_cast<std::size_t>(c)], 255);
                if (!v) {
                    return Fail("\"" + std::string(words[static_cast<std::size_t>(c)]) + "\" is not a cell value 0..255");
                }
                cell(c) = static_cast<std::uint8_t>(*v);
            }
            return true;
        }
        if (line_.size() != BoardColumns) {
            return Fail("row " + std::to_string(row) + " has " + std::to_string(line_.size()) +
                        " cells, not 10 (or the level has fewer than 20 rows)");
        }
        for (int c = 0; c < BoardColumns; ++c) {
            const std::size_t v = CellChars.find(line_[static_cast<std::size_t>(c)]);
            if (v == std::string_view::npos) {
                return Fail(std::string("'") + line_[static_cast<std::size_t>(c)] +
                            "' is not a cell: use . # or 1 to 7");
            }
            cell(c) = static_cast<std::uint8_t>(v);
        }
        return true;
    }

    template <std::size_t N>
    bool Field(std::string_view name, std::array<int, N>& values)
    {
        if (!NextContent()) {
            return false;
        }
        const auto words = Words(line_);
        if (words.empty() || words[0] != name || words.size() != N + 1) {
            return Fail("expected \"" + std::string(name) + "\" and " + std::to_string(N) +
                        (N == 1 ? " number" : " numbers") + " (after 20 rows)");
        }
        for (std::size_t i = 0; i < N; ++i) {
            const auto v = Number(words[i + 1], 255);
            if (!v) {
                return Fail("\"" + std::string(words[i + 1]) + "\" is not a number 0..255");
            }
            values[i] = *v;
        }
        return true;
    }

    // The next line that is neither blank nor a note; notes go to `notes`.
    bool NextLine(std::vector<std::string>& notes)
    {
        while (pos_ < text_.size()) {
            std::size_t end = text_.find('\n', pos_);
            if (end == std::string_view::npos) {
                end = text_.size();
            }
            line_ = text_.substr(pos_, end - pos_);
            pos_ = end + 1;
            ++lineNumber_;
            if (!line_.empty() && line_.back() == '\r') {
                line_.remove_suffix(1);
            }
            while (!line_.empty() && (line_.back() == ' ' || line_.back() == '\t')) {
                line_.remove_suffix(1);
            }
            if (line_.empty()) {
                continue;
            }
            if (line_.front() == ';') {
                notes.emplace_back(line_);
                continue;
            }
            return true;
        }
        return false;
    }

    // Inside a level notes are not allowed: they could not be put back.
    bool NextContent()
    {
        std::vector<std::string> notes;
        if (!NextLine(notes)) {
            return Fail("the file ends inside the level");
        }
        if (!notes.empty()) {
            return Fail("notes belong before a level's title line");
        }
        return true;
    }

    bool Fail(const std::string& why)
    {
        std::ostringstream out;
        out << "level " << level_ << ", line " << lineNumber_ << ": " << why;
        error_ = out.str();
        return false;
    }

    std::string_view text_;
    std::size_t pos_ = 0;
    std::string_view line_;
    int lineNumber_ = 0;
    int level_ = 0;
    std::string error_;
};

} // namespace

LevelSourceParse ParseLevelSource(std::string_view text)
{
    return Parser(text).Run();
}

LevelSourceParse ReadLevelSource(const std::filesystem::path& path)
{
    const auto text = ReadFileBytes(path, MaxLevelSourceBytes);
    if (!text) {
        return {std::nullopt, path.string() + ": cannot be read"};
    }
    LevelSourceParse parsed = ParseLevelSource(*text);
    if (!parsed.source) {
        parsed.error = path.string() + ": " + parsed.error;
    }
    return parsed;
}

std::string FormatLevelSource(const LevelSource& source)
{
    std::string out;
    for (int level = 0; level < LevelCount; ++level) {
        const auto l = static_cast<std::size_t>(level);
        const LevelDef& def = source.levels[l];
        if (level > 0) {
            out += '\n';
        }
        for (const std::string& note : source.notes[l]) {
            out += note + '\n';
        }
        out += "level " + std::to_string(level) + ":";
        if (!source.titles[l].empty()) {
            out += ' ' + source.titles[l];
        }
        out += '\n';
        for (int row = 0; row < BoardRows; ++row) {
            out += FormatRow(def, row) + '\n';
        }
        out += "quotas";
        for (std::uint8_t q : def.quotas) {
            out += ' ' + std::to_string(q);
        }
        out += "\nspeed " + std::to_string(def.speed) + "\nseconds " + std::to_string(def.seconds) +
               "\nbonus " + std::to_string(def.bonus) + '\n';
    }
    return out;
}

LevelSource SourceForLevels(const LevelSet& levels, const LevelSource* named)
{
    LevelSource source;
    source.levels = levels;
    for (int level = 0; level < LevelCount; ++level) {
        const auto l = static_cast<std::size_t>(level);
        if (named != nullptr) {
            source.titles[l] = named->titles[l];
            source.notes[l] = named->notes[l];
        } else {
            source.titles[l] = "Level " + std::to_string(level);
        }
    }
    return source;
}

} // namespace plumix
