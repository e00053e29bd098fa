// SPDX-License-Identifier: GPL-3.0-or-later
// The fuzzer's target: the fast condenser against the plain reference, and
// the vector substring search against std::string_view::find.
//
// An input is a call sign, an LF, then the log; an input without an LF is a
// log with an empty call sign (which keeps every line). Each log is condensed
// through buffers and reads of many small and odd sizes, so that lines, CR LF
// pairs and call signs fall across every kind of buffer edge and across the
// 16-, 32- and 64-byte steps of the vector scans. Some readings leave little
// or no room for joining a line cut by a read, from a log that can be read
// again by position, so that lines of a few bytes are kept by their place
// and copied again from the log.

#include "LogCondenser.h"
#include "MemoryStreams.h"
#include "ReferenceCondenser.h"
#include "SubstringFinder.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

struct Reading
{
    std::size_t bufferSize;
    std::size_t joinRoom = LogCondenser::defaultJoinRoom;
    ReadAhead::Reading reading = ReadAhead::Reading::OnDemand;
};

// The fuzzer's inputs stay under 4096 bytes, so a buffer of 8192 bytes takes
// the whole log in one read, as the default buffer takes a real log's first
// megabyte, without clearing a megabyte for every input.
constexpr Reading readings[] = {
    {1}, {2}, {3}, {7}, {31}, {33}, {63}, {64}, {65}, {127}, {8192},
    {1, 0}, {2, 1}, {7, 3}, {64, 13}, {8192, 16}, {8192, 64},
    {7, 3, ReadAhead::Reading::Ahead},
    {64, LogCondenser::defaultJoinRoom, ReadAhead::Reading::Ahead},
};

void printBytes(const char *label, std::string_view bytes)
{
    std::fprintf(stderr, "%s (%zu bytes): \"", label, bytes.size());
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7f && byte != '"' && byte != '\\')
            std::fputc(byte, stderr);
        else
            std::fprintf(stderr, "\\x%02x", byte);
    }
    std::fprintf(stderr, "\"\n");
}

[[noreturn]] void fail(const char *what, std::string_view call, std::string_view log)
{
    std::fprintf(stderr, "\n*** %s\n", what);
    printBytes("call sign", call);
    printBytes("log", log);
    std::abort();
}

void checkCondenser(std::string_view call, std::string_view log)
{
    const std::string expected = referenceCondense(std::string(log), std::string(call));
    for (const Reading &reading : readings) {
        StringSource source{std::string(log)};
        StringSink sink;
        LogCondenser(call, reading.bufferSize, reading.reading, reading.joinRoom).condense(source, sink);
        if (sink.text != expected) {
            std::fprintf(stderr, "buffer of %zu bytes, room of %zu%s\n", reading.bufferSize, reading.joinRoom,
                         reading.reading == ReadAhead::Reading::Ahead ? ", read ahead" : "");
            printBytes("expected", expected);
            printBytes("condensed", sink.text);
            fail("the condensed log differs from the reference", call, log);
        }
    }
}

// Every occurrence in turn, and the positions at and past the end. `data`
// holds exactly the haystack, so a read past it is a fault the address
// sanitizer sees.
void checkFinder(std::string_view needle, const char *data, std::size_t size)
{
    const SubstringFinder finder(needle);
    const std::string_view haystack(data, size);
    const auto check = [&](std::size_t from) {
        const std::size_t expected = haystack.find(needle, from);
        const std::size_t found = finder.find(data, size, from);
        if (found != (expected == std::string_view::npos ? SubstringFinder::npos : expected)) {
            std::fprintf(stderr, "searching from %zu: found %zu, expected %zu\n", from, found, expected);
            fail("the substring search differs from std::string_view::find", needle, haystack);
        }
        return expected;
    };
    for (std::size_t from = 0; from <= size;) {
        const std::size_t at = check(from);
        if (at == std::string_view::npos)
            break;
        from = at + 1;
    }
    for (const std::size_t from : {size / 2, size - std::min<std::size_t>(size, 1), size, size + 1})
        check(from);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *bytes, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char *>(bytes), size);
    const std::size_t lineFeed = input.find('\n');
    const std::string_view call = lineFeed == std::string_view::npos ? std::string_view() : input.substr(0, lineFeed);
    const std::string_view log = lineFeed == std::string_view::npos ? input : input.substr(lineFeed + 1);

    checkCondenser(call, log);

    // The log ends where the fuzzer's own copy of the input ends.
    checkFinder(call, log.data(), log.size());
    // A needle cut from the log itself, so that there are hits to find.
    const std::string cut(log.substr(log.size() / 3, call.size() + 1));
    checkFinder(cut, log.data(), log.size());
    return 0;
}
