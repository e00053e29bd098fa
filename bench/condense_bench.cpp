// SPDX-License-Identifier: GPL-3.0-or-later
// condense-bench FILE CALL OUT   condenses FILE for CALL into OUT as the run does
// condense-bench                 the same on a generated 500 MB classic log,
//                                beside a getline loop and ripgrep
// condense-bench --write-log FILE MB   writes a classic log of MB megabytes
#include "ClassicLogWriter.h"
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
bool condenseWithGetline(const std::string &in, const std::string &call, const std::string &out)
{
    std::ifstream input(in, std::ios::binary);
    std::ofstream output(out, std::ios::binary);
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

} // namespace

int main(int argc, char **argv)
{
    if (argc == 4 && std::string(argv[1]) != "--write-log") {
        const std::uintmax_t bytes = std::filesystem::file_size(argv[1]);
        const double seconds = timed([&] { return condenseFile(argv[1], argv[2], argv[3]); });
        report("condense", seconds, bytes);
        std::printf("peak memory %.1f MiB\n", peakMemoryMiB());
        return seconds < 0 ? 1 : 0;
    }
    if (argc == 4 && std::string(argv[1]) == "--write-log")
        return ClassicLogWriter("K1ABC").write(argv[2], std::stoull(argv[3]) * 1'000'000) ? 0 : 1;
    if (argc != 1) {
        std::fprintf(stderr, "usage: condense-bench [FILE CALL OUT | --write-log FILE MB]\n");
        return 2;
    }

    QTemporaryDir dir;
    const std::string call = "K1ABC";
    const std::string log = dir.filePath("ALL.TXT").toStdString();
    std::printf("generating a 500 MB classic log in %s ...\n", dir.path().toLocal8Bit().constData());
    if (!dir.isValid() || !ClassicLogWriter(call).write(log, 500'000'000)) {
        std::fprintf(stderr, "could not write the log\n");
        return 1;
    }
    const std::uintmax_t bytes = std::filesystem::file_size(log);
    readWhole(log);  // into the page cache

    const std::string ours = dir.filePath("jt65a_K1ABC_logfile.txt").toStdString();
    double best = -1;
    for (int round = 0; round < 3; ++round) {
        std::filesystem::remove(ours);  // time the condensing, not the freeing of the last output
        const double seconds = timed([&] { return condenseFile(log, call, ours); });
        if (seconds >= 0 && (best < 0 || seconds < best))
            best = seconds;
    }
    std::printf("log: %ju bytes, condensed: %ju bytes\n", bytes, std::filesystem::file_size(ours));
    report("condense (best of 3)", best, bytes);
    std::printf("peak memory %.1f MiB\n", peakMemoryMiB());

    const std::string plain = dir.filePath("getline.txt").toStdString();
    report("getline loop", timed([&] { return condenseWithGetline(log, call, plain); }), bytes);

    const std::string rg = dir.filePath("rg.txt").toStdString();
#ifdef _WIN32
    const char *const findRipgrep = "where rg >NUL 2>&1";
#else
    const char *const findRipgrep = "command -v rg >/dev/null 2>&1";
#endif
    if (std::system(findRipgrep) == 0) {
        const std::string command = "rg -F " + call + " " + quoted(log) + " > " + quoted(rg);
        report("rg -F CALL FILE > out", timed([&] { return std::system(command.c_str()) == 0; }), bytes);
    } else {
        std::printf("%-32s not installed\n", "rg -F CALL FILE > out");
    }
    return 0;
}
