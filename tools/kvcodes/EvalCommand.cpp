#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "codestyle/CodeStyleLibrary.h"
#include "codestyle/KeyRecordReplay.h"
#include "codestyle/ReplayFidelity.h"
#include "encoder/EncoderState.h"
#include "encoder/LearnedCodeEncoder.h"
#include "tools/kvcodes/Command.h"
#include "workflow/CaptureImport.h"
#include "workflow/CaptureText.h"

namespace kv::tools {
namespace {

constexpr const char* kUsage =
    "usage: kvcodes eval --styles CSL [--tv-only] [--labels L1,L2,...] [--failures]\n"
    "                    CORPUS.jsonl.gz\n\n"
    "Runs every capture of a corpus (gzip'd JSON lines with \"us\", \"freq\", \"style\", \"tv\",\n"
    "\"id\") through import, capture text, the encoder and replay, and compares the replay with\n"
    "the capture: the first frame's durations (count equal, each within max(25 %, 100 µs)) and\n"
    "the gap after it (within 10 %). Prints per label the captures, how many a style recognised,\n"
    "how many of those replay faithfully, and the styles that took them; then the totals.\n"
    "--labels keeps only the named labels; --failures lists every capture that failed.\n";

constexpr int kEvalKeyCode = 0x1C;

struct Options {
    std::string styles;
    std::string corpus;
    bool tvOnly = false;
    bool failures = false;
    std::set<std::string> labels;
};

struct LabelCounts {
    int captures = 0;
    int recognised = 0;
    int faithful = 0;
    std::map<std::string, int> takenBy;
};

struct Outcome {
    int style = -1;  // the style that took the capture, or -1
    std::string failure;
};

class CorpusReader {
  public:
    explicit CorpusReader(const std::string& path) : file_(gzopen(path.c_str(), "rb")) {}
    ~CorpusReader() {
        if (file_ != nullptr) {
            gzclose(file_);
        }
    }
    CorpusReader(const CorpusReader&) = delete;
    CorpusReader& operator=(const CorpusReader&) = delete;

    bool Open() const { return file_ != nullptr; }

    bool NextLine(std::string& line) {
        line.clear();
        while (true) {
            const std::size_t end = buffer_.find('\n', position_);
            if (end != std::string::npos) {
                line.assign(buffer_, position_, end - position_);
                position_ = end + 1;
                return true;
            }
            buffer_.erase(0, position_);
            position_ = 0;
            char chunk[1 << 16];
            const int read = gzread(file_, chunk, sizeof chunk);
            if (read <= 0) {
                line = buffer_;
                buffer_.clear();
                return !line.empty();
            }
            buffer_.append(chunk, static_cast<std::size_t>(read));
        }
    }

  private:
    gzFile file_;
    std::string buffer_;
    std::size_t position_ = 0;
};

std::optional<Options> ParseOptions(const std::vector<std::string>& args, CommandIo& io) {
    Options options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--styles" && i + 1 < args.size()) {
            options.styles = args[++i];
        } else if (args[i] == "--tv-only") {
            options.tvOnly = true;
        } else if (args[i] == "--failures") {
            options.failures = true;
        } else if (args[i] == "--labels" && i + 1 < args.size()) {
            std::stringstream list(args[++i]);
            for (std::string label; std::getline(list, label, ',');) {
                options.labels.insert(label);
            }
        } else if (options.corpus.empty() && !args[i].starts_with("--")) {
            options.corpus = args[i];
        } else {
            io.err << kUsage;
            return std::nullopt;
        }
    }
    if (options.styles.empty() || options.corpus.empty()) {
        io.err << kUsage;
        return std::nullopt;
    }
    return options;
}

class Evaluator {
  public:
    explicit Evaluator(const codestyle::ArrCodeStyleNode& library) {
        for (const auto& style : library) {
            single_.push_back({style});
        }
    }

    Outcome Run(const std::vector<double>& durationsUs, int carrierHz) {
        Outcome outcome;
        const std::string raw = workflow::CaptureWordsFromSignal(durationsUs, carrierHz);
        const std::string body = workflow::CaptureTextBody(workflow::CaptureToHex(raw));
        if (body.empty()) {
            outcome.failure = "no capture text";
            return outcome;
        }
        std::string record;
        // One style at a time, in file order, to know which one took the capture; the symbol
        // timing table is carried from style to style as in a single run.
        for (std::size_t i = 0; i < single_.size() && record.empty(); ++i) {
            record = encoder::EncodeWithLibrary(body, kEvalKeyCode, single_[i], state_);
            if (!record.empty()) {
                outcome.style = static_cast<int>(i);
            }
        }
        if (record.empty()) {
            outcome.failure = "no style fits";
            return outcome;
        }
        std::string why;
        const auto model = codestyle::ParseKeyRecord(record, &why);
        if (!model) {
            outcome.failure = "record unreadable: " + why;
            return outcome;
        }
        const std::vector<std::int64_t> replay = codestyle::ReplayKeyRecord(*model);
        std::vector<std::int64_t> captured;
        captured.reserve(durationsUs.size());
        for (const double d : durationsUs) {
            captured.push_back(static_cast<std::int64_t>(d + 0.5));
        }
        outcome.failure = codestyle::CompareFirstFrame(captured, replay);
        return outcome;
    }

  private:
    std::vector<codestyle::ArrCodeStyleNode> single_;
    encoder::EncoderState state_;
};

std::string Percent(int part, int whole) {
    char text[16];
    std::snprintf(text, sizeof text, "%5.1f%%", whole > 0 ? 100.0 * part / whole : 0.0);
    return text;
}

std::string TopStyles(const LabelCounts& counts, const codestyle::ArrCodeStyleNode& library) {
    std::vector<std::pair<int, std::string>> ranked;
    for (const auto& [name, n] : counts.takenBy) {
        ranked.emplace_back(n, name);
    }
    std::sort(ranked.rbegin(), ranked.rend());
    std::string text;
    for (std::size_t i = 0; i < ranked.size() && i < 3; ++i) {
        text += (i ? ", " : "") + ranked[i].second + " " + std::to_string(ranked[i].first);
    }
    if (ranked.size() > 3) {
        text += ", ...";
    }
    (void)library;
    return text;
}

void PrintTable(const std::map<std::string, LabelCounts>& table,
                const codestyle::ArrCodeStyleNode& library, std::ostream& out) {
    char line[256];
    std::snprintf(line, sizeof line, "| %-22s | %8s | %10s | %7s | %8s | %7s | %s\n", "label",
                  "captures", "recognised", "", "faithful", "", "taken by");
    out << line;
    out << "|---|---:|---:|---:|---:|---:|---|\n";
    LabelCounts total;
    std::vector<std::pair<int, std::string>> order;
    for (const auto& [label, counts] : table) {
        order.emplace_back(-counts.captures, label);
    }
    std::sort(order.begin(), order.end());
    for (const auto& [negative, label] : order) {
        const LabelCounts& counts = table.at(label);
        std::snprintf(line, sizeof line, "| %-22s | %8d | %10d | %7s | %8d | %7s | ", label.c_str(),
                      counts.captures, counts.recognised,
                      Percent(counts.recognised, counts.captures).c_str(), counts.faithful,
                      Percent(counts.faithful, counts.recognised).c_str());
        out << line << TopStyles(counts, library) << " |\n";
        total.captures += counts.captures;
        total.recognised += counts.recognised;
        total.faithful += counts.faithful;
    }
    std::snprintf(line, sizeof line, "| %-22s | %8d | %10d | %7s | %8d | %7s |  |\n", "total",
                  total.captures, total.recognised,
                  Percent(total.recognised, total.captures).c_str(), total.faithful,
                  Percent(total.faithful, total.recognised).c_str());
    out << line;
}

int RunEval(const std::vector<std::string>& args, CommandIo& io) {
    const std::optional<Options> options = ParseOptions(args, io);
    if (!options) {
        return kExitBadInput;
    }
    codestyle::ArrCodeStyleNode library;
    if (!codestyle::LoadCodeStyleLibrary(options->styles, library)) {
        io.err << "kvcodes eval: " << options->styles << " is not a code-style library\n";
        return kExitBadInput;
    }
    CorpusReader reader(options->corpus);
    if (!reader.Open()) {
        io.err << "kvcodes eval: cannot read " << options->corpus << '\n';
        return kExitBadInput;
    }
    const auto start = std::chrono::steady_clock::now();
    Evaluator evaluator(library);
    std::map<std::string, LabelCounts> table;
    std::vector<std::string> failures;
    int unreadable = 0;
    for (std::string line; reader.NextLine(line);) {
        const auto record = nlohmann::json::parse(line, nullptr, false);
        if (record.is_discarded() || !record.is_object() || !record.contains("us") ||
            !record["us"].is_array()) {
            ++unreadable;
            continue;
        }
        if (options->tvOnly && !record.value("tv", false)) {
            continue;
        }
        const std::string label = record.value("style", std::string("UNLABELLED"));
        if (!options->labels.empty() && !options->labels.contains(label)) {
            continue;
        }
        std::vector<double> durations;
        for (const auto& value : record["us"]) {
            if (value.is_number()) {
                durations.push_back(value.get<double>());
            }
        }
        // A space after the last mark is not part of what a receiver hands on.
        if (durations.size() % 2 == 0 && !durations.empty()) {
            durations.pop_back();
        }
        int carrier = record.value("freq", workflow::kDefaultCarrierHz);
        if (!workflow::IsImportableCarrier(carrier)) {
            carrier = workflow::kDefaultCarrierHz;
        }
        const Outcome outcome = evaluator.Run(durations, carrier);
        LabelCounts& counts = table[label];
        ++counts.captures;
        if (outcome.style >= 0) {
            ++counts.recognised;
            ++counts.takenBy[library[static_cast<std::size_t>(outcome.style)].name];
            counts.faithful += outcome.failure.empty() ? 1 : 0;
        }
        if (options->failures && !outcome.failure.empty()) {
            failures.push_back(record.value("id", std::string("?")) + " | " + label + " | " +
                               (outcome.style >= 0
                                    ? library[static_cast<std::size_t>(outcome.style)].name
                                    : std::string("-")) +
                               " | " + outcome.failure);
        }
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (table.empty()) {
        io.err << "kvcodes eval: no captures" << (unreadable ? " (unreadable lines)" : "") << '\n';
        return kExitNoResult;
    }
    PrintTable(table, library, io.out);
    char timing[96];
    std::snprintf(timing, sizeof timing, "%.1f s%s\n", seconds,
                  unreadable ? ", some lines unreadable" : "");
    io.out << timing;
    for (const std::string& failure : failures) {
        io.out << failure << '\n';
    }
    return kExitResult;
}

}  // namespace

KVCODES_COMMAND("eval", "measure how well a code-style library learns and replays a corpus", kUsage,
                RunEval);

}  // namespace kv::tools
