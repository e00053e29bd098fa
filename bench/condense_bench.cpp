// SPDX-License-Identifier: GPL-3.0-or-later
// condense-bench FILE CALL OUT   condenses FILE for CALL into OUT with the run's
//                                reading, condensing and durable replace (not
//                                its checks of the names: no refusal of a
//                                device or of OUT naming FILE itself)
// condense-bench [LAYOUT [MB]]   on a generated log of each layout (or of LAYOUT
//                                only; 500 MB): `condense-bench FILE CALL OUT`
//                                and `rg --no-mmap -F CALL FILE > out`, each a
//                                whole process, taking turns; the floor of one
//                                read and one durable write (dd); a getline loop
// condense-bench --write-log FILE MB [LAYOUT]   writes a log of MB megabytes
// LAYOUT is "classic" (the default for --write-log) or "decodes": one line per
// decode, with date and time on every line.
#include "ClassicLogWriter.h"
#include "CondensedLog.h"
#include "DecodeLineLogWriter.h"
#include "FileError.h"
#include "FileSource.h"
#include "LogCondenser.h"
#include "PeakMemory.h"
#include "SaveFileOutput.h"

#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

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
        // In the run's order: the new file first, so that a name or folder
        // that cannot take it fails before the log is read.
        SaveFileOutput output(out);
        FileSource source(in);
        LogCondenser(call).condense(source, output);
        output.commit();
        return true;
    } catch (const FileError &error) {
        // The condenser's own read errors name no file: they are about the log.
        std::fprintf(stderr, "%s: %s\n", error.path().empty() ? in.c_str() : error.path().c_str(),
                     error.reason().c_str());
        return false;
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
#ifdef _WIN32
    return "\"" + text + "\"";
#else
    return "'" + text + "'";
#endif
}

// Seconds taken by a command as a whole process, through the shell.
double timedCommand(const std::string &command)
{
    return timed([&] { return std::system(command.c_str()) == 0; });
}

void keepBest(double &best, double seconds)
{
    if (seconds >= 0 && (best < 0 || seconds < best))
        best = seconds;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? -1 : values[values.size() / 2];
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

bool haveCommand(const char *name)
{
#ifdef _WIN32
    return std::system((std::string("where ") + name + " >NUL 2>&1").c_str()) == 0;
#else
    return std::system((std::string("command -v ") + name + " >/dev/null 2>&1").c_str()) == 0;
#endif
}

// The peak memory that `condense-bench FILE CALL OUT` reported in `path`.
double reportedPeakMemory(const std::string &path)
{
    std::ifstream report(path);
    std::string line;
    double peak = 0;
    while (std::getline(report, line))
        std::sscanf(line.c_str(), "peak memory %lf MiB", &peak);
    return peak;
}

constexpr int batches = 3;
constexpr int rounds = 5;

// The whole run (`condense-bench FILE CALL OUT`: the log read and condensed,
// the output flushed to disk and renamed into place) and ripgrep, each as a
// process of its own, taking turns, best of five, in three batches; each
// output is removed before its round, so neither pays for freeing the last
// one. With dd, the floor too: the log read once, the condensed log written
// once and flushed. False if the outputs differ from the getline loop's.
bool compareOnLayout(const QTemporaryDir &dir, const std::string &self, const std::string &layout,
                     std::uint64_t megabytes)
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
    const std::string copy = dir.filePath("copy.txt").toStdString();
#ifdef _WIN32
    const char *nothing = "NUL";
#else
    const char *nothing = "/dev/null";
#endif
    const std::string runReport = dir.filePath("run.txt").toStdString();
    const std::string runCommand = quoted(self) + " " + quoted(log) + " " + call + " " + quoted(ours) + " > "
        + quoted(runReport);
    const std::string rgCommand = "rg --no-mmap -F " + call + " " + quoted(log) + " > " + quoted(rg);
    const std::string readCommand = "dd if=" + quoted(log) + " of=" + nothing + " bs=1M 2>" + nothing;
    const std::string writeCommand = "dd if=" + quoted(ours) + " of=" + quoted(copy) + " bs=1M conv=fdatasync 2>" + nothing;
    const bool ripgrep = haveCommand("rg");
    const bool dd = haveCommand("dd");

    std::vector<double> toRg;
    std::vector<double> toFloor;
    double peak = 0;
    for (int batch = 1; batch <= batches; ++batch) {
        double best = -1, bestRg = -1, bestRead = -1, bestWrite = -1;
        for (int round = 0; round < rounds; ++round) {
            std::filesystem::remove(ours);
            keepBest(best, timedCommand(runCommand));
            peak = std::max(peak, reportedPeakMemory(runReport));
            if (ripgrep) {
                std::filesystem::remove(rg);
                keepBest(bestRg, timedCommand(rgCommand));
            }
            if (dd) {
                keepBest(bestRead, timedCommand(readCommand));
                std::filesystem::remove(copy);
                keepBest(bestWrite, timedCommand(writeCommand));
            }
        }
        std::printf("batch %d: whole run %.3f s", batch, best);
        if (best > 0 && bestRg > 0) {
            toRg.push_back(best / bestRg);
            std::printf(", rg %.3f s (%.2f of rg's time)", bestRg, best / bestRg);
        }
        if (best > 0 && bestRead > 0 && bestWrite > 0) {
            toFloor.push_back(best / (bestRead + bestWrite));
            std::printf(", floor %.3f + %.3f s (%.2f times the floor)", bestRead, bestWrite,
                        best / (bestRead + bestWrite));
        }
        std::printf("\n");
    }
    std::printf("log: %ju bytes, condensed: %ju bytes\n", bytes, std::filesystem::file_size(ours));
    if (!toRg.empty())
        std::printf("%-32s %8.2f of rg's time (median of %d batches, best of %d)\n", "whole run", median(toRg),
                    batches, rounds);
    else
        std::printf("%-32s not installed\n", "rg");
    if (!toFloor.empty())
        std::printf("%-32s %8.2f times the floor (dd read + dd fdatasync write)\n", "whole run", median(toFloor));

    std::printf("%-32s %8.1f MiB\n", "whole run's peak memory", peak);

    const std::string plain = dir.filePath("getline.txt").toStdString();
    report("getline loop", timed([&] { return condenseWithGetline(log, call, plain); }), bytes);
    const bool same = sameBytes(ours, plain);
    std::printf("condensed log identical to the getline loop's: %s\n", same ? "yes" : "NO");
    std::filesystem::remove(log);
    std::filesystem::remove(copy);
    return same;
}

// This program's own file, to run it again as a process.
std::string selfPath(const char *argv0)
{
    std::error_code error;
#ifdef __linux__
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error)
        return self.string();
#endif
    return std::filesystem::absolute(argv0, error).string();
}

} // namespace

int main(int argc, char **argv)
{
    const std::string first = argc > 1 ? argv[1] : "";
    if (argc == 4 && first != "--write-log") {
        std::error_code error;
        const std::uintmax_t size = std::filesystem::file_size(argv[1], error);
        const std::uintmax_t bytes = error ? 0 : size;
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
            same = compareOnLayout(dir, selfPath(argv[0]), layout, megabytes) && same;
    }
    return same ? 0 : 1;
}
