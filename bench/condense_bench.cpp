// SPDX-License-Identifier: GPL-3.0-or-later
// condense-bench FILE CALL OUT   condenses FILE for CALL into OUT as the run does
// condense-bench [LAYOUT [MB]]   the whole run on a generated log of each layout
//                                (or of LAYOUT only; 500 MB), side by side with
//                                `rg -F CALL FILE > out`, and a getline loop
// condense-bench --write-log FILE MB [LAYOUT]   writes a log of MB megabytes
// LAYOUT is "classic" (the default for --write-log) or "decodes": one line per
// decode, with date and time on every line.
#include "ClassicLogWriter.h"
#include "CondensedLog.h"
#include "DecodeLineLogWriter.h"
#include "FileSource.h"
#include "LogCondenser.h"
#include "PeakMemory.h"
#include "SaveFileOutput.h"

#include <QTemporaryDir>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

// Seconds taken by `work`, or a negative number if it failed.
double timed(const std::function<bool()> &work)
{
    const auto start = Clock::now();
    const bool ok = work();
    const std::chrono::duration<double> taken = Clock::now() - start;
    return ok ? taken.count() : -1.0;
}

void report(const char *what, double seconds, std::uintmax_t bytes)
{
    if (seconds < 0)
        std::printf("%-32s failed\n", what);
    else
        std::printf("%-32s %8.0f MB/s  (%.3f s)\n", what, double(bytes) / 1e6 / seconds, seconds);
}

bool condenseFile(const std::string &in, const std::string &call, const std::string &out)
{
    try {
        FileSource source(in);
        SaveFileOutput output(out);
        LogCondenser(call).condense(source, output);
        output.commit();
        return true;
    } catch (const std::exception &error) {
        std::fprintf(stderr, "%s\n", error.what());
        return false;
    }
}

// The straightforward way: one std::getline and one std::string per line.
// For logs with CR LF line ends only, its output is the condensed log.
bool condenseWithGetline(const std::string &in, const std::string &call, const std::string &out)
{
    std::ifstream input(in, std::ios::binary);
    std::ofstream output(out, std::ios::binary);
    output << CondensedLog::header();
    std::string line;
    while (std::getline(input, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.compare(0, 3, "UTC") == 0)
            output << "\r\n" << line << "\r\n";
        else if ((line.size() >= 13 && line.compare(8, 5, "Trans") == 0) || line.compare(0, 3, "---") == 0
                 || line.find(call) != std::string::npos)
            output << line << "\r\n";
    }
    output << CondensedLog::footer();
    return bool(output);
}

std::string quoted(const std::string &text)
{
    return "'" + text + "'";
}

bool readWhole(const std::string &path)
{
    std::FILE *file = std::fopen(path.c_str(), "rb");
    if (file == nullptr)
        return false;
    static char block[1 << 20];
    while (std::fread(block, 1, sizeof block, file) == sizeof block) {
    }
    return std::fclose(file) == 0;
}

bool sameBytes(const std::string &a, const std::string &b)
{
    std::ifstream first(a, std::ios::binary);
    std::ifstream second(b, std::ios::binary);
    return std::equal(std::istreambuf_iterator<char>(first), std::istreambuf_iterator<char>(),
                      std::istreambuf_iterator<char>(second), std::istreambuf_iterator<char>());
}

std::unique_ptr<LogWriter> writerFor(const std::string &layout, const std::string &call)
{
    if (layout == "classic")
        return std::make_unique<ClassicLogWriter>(call);
    if (layout == "decodes")
        return std::make_unique<DecodeLineLogWriter>(call);
    return nullptr;
}

bool haveRipgrep()
{
#ifdef _WIN32
    return std::system("where rg >NUL 2>&1") == 0;
#else
    return std::system("command -v rg >/dev/null 2>&1") == 0;
#endif
}

// The whole run (output flushed to disk and renamed into place) and ripgrep,
// taking turns, three rounds each; each output is removed before its round,
// so neither pays for freeing the last one. False if the outputs differ.
bool compareOnLayout(const QTemporaryDir &dir, const std::string &layout, std::uint64_t megabytes)
{
    const std::string call = "K1ABC";
    const std::string log = dir.filePath(QString::fromStdString(layout + "-ALL.TXT")).toStdString();
    std::printf("\n%s layout: generating a %ju MB log ...\n", layout.c_str(), std::uintmax_t(megabytes));
    if (!writerFor(layout, call)->write(log, megabytes * 1'000'000)) {
        std::fprintf(stderr, "could not write the log\n");
        return false;
    }
    const std::uintmax_t bytes = std::filesystem::file_size(log);
    readWhole(log);  // into the page cache

    const std::string ours = dir.filePath("jt65a_K1ABC_logfile.txt").toStdString();
    const std::string rg = dir.filePath("rg.txt").toStdString();
    const std::string rgCommand = "rg -F " + call + " " + quoted(log) + " > " + quoted(rg);
    const bool ripgrep = haveRipgrep();
    double best = -1;
    double bestRg = -1;
    const auto keepBest = [](double &best, double seconds) {
        if (seconds >= 0 && (best < 0 || seconds < best))
            best = seconds;
    };
    for (int round = 0; round < 3; ++round) {
        std::filesystem::remove(ours);
        keepBest(best, timed([&] { return condenseFile(log, call, ours); }));
        if (ripgrep) {
            std::filesystem::remove(rg);
            keepBest(bestRg, timed([&] { return std::system(rgCommand.c_str()) == 0; }));
        }
    }
    std::printf("log: %ju bytes, condensed: %ju bytes\n", bytes, std::filesystem::file_size(ours));
    report("whole run (best of 3)", best, bytes);
    if (ripgrep) {
        report("rg -F CALL FILE > out (best of 3)", bestRg, bytes);
        if (best > 0 && bestRg > 0)
            std::printf("%-32s %8.2f times as fast as rg\n", "whole run", bestRg / best);
    } else {
        std::printf("%-32s not installed\n", "rg -F CALL FILE > out");
    }

    const std::string plain = dir.filePath("getline.txt").toStdString();
    report("getline loop", timed([&] { return condenseWithGetline(log, call, plain); }), bytes);
    const bool same = sameBytes(ours, plain);
    std::printf("condensed log identical to the getline loop's: %s\n", same ? "yes" : "NO");
    std::filesystem::remove(log);
    return same;
}

} // namespace

int main(int argc, char **argv)
{
    const std::string first = argc > 1 ? argv[1] : "";
    if (argc == 4 && first != "--write-log") {
        const std::uintmax_t bytes = std::filesystem::file_size(argv[1]);
        const double seconds = timed([&] { return condenseFile(argv[1], argv[2], argv[3]); });
        report("condense", seconds, bytes);
        std::printf("peak memory %.1f MiB\n", peakMemoryMiB());
        return seconds < 0 ? 1 : 0;
    }
    if ((argc == 4 || argc == 5) && first == "--write-log") {
        const auto writer = writerFor(argc == 5 ? argv[4] : "classic", "K1ABC");
        if (writer != nullptr)
            return writer->write(argv[2], std::stoull(argv[3]) * 1'000'000) ? 0 : 1;
    }
    const bool layoutChosen = first == "classic" || first == "decodes";
    if (argc > 3 || (argc > 1 && !layoutChosen)) {
        std::fprintf(stderr, "usage: condense-bench [FILE CALL OUT | [classic|decodes [MB]]"
                             " | --write-log FILE MB [classic|decodes]]\n");
        return 2;
    }

    QTemporaryDir dir;
    if (!dir.isValid())
        return 1;
    std::printf("logs in %s\n", dir.path().toLocal8Bit().constData());
    const std::uint64_t megabytes = argc == 3 ? std::stoull(argv[2]) : 500;
    bool same = true;
    for (const std::string layout : {"classic", "decodes"}) {
        if (!layoutChosen || layout == first)
            same = compareOnLayout(dir, layout, megabytes) && same;
    }
    std::printf("\npeak memory %.1f MiB\n", peakMemoryMiB());
    return same ? 0 : 1;
}
