// SPDX-License-Identifier: GPL-3.0-or-later
#include "CondensedLog.h"
#include "ProgramIdentity.h"
#include "LogCondenser.h"
#include "MemoryStreams.h"
#include "ReferenceCondenser.h"
#include "StringPrinting.h"

#include <QTest>

#include <random>

namespace {

using namespace std::string_literals;

using Reading = ReadAhead::Reading;

}

namespace {

std::string condense(const std::string &log, const std::string &call,
                     std::size_t bufferSize = LogCondenser::defaultBufferSize)
{
    StringSource source(log);
    StringSink sink;
    LogCondenser(call, bufferSize).condense(source, sink);
    return sink.text;
}

std::string condense(const std::string &log, const std::string &call, std::size_t bufferSize, Reading reading,
                     std::size_t joinRoom = LogCondenser::defaultJoinRoom)
{
    StringSource source(log);
    StringSink sink;
    LogCondenser(call, bufferSize, reading, joinRoom).condense(source, sink);
    return sink.text;
}

// Condensed from a log that can be read again by position, as a file can,
// with `joinRoom` bytes of room for joining a line cut by a read.
std::string condenseByPosition(const std::string &log, const std::string &call, std::size_t bufferSize,
                               std::size_t joinRoom, std::size_t *heldBytes = nullptr)
{
    StringSource source(log);
    StringSink sink;
    LogCondenser condenser(call, bufferSize, joinRoom);
    condenser.condense(source, sink);
    if (heldBytes != nullptr)
        *heldBytes = condenser.heldBytes();
    return sink.text;
}

// What lies between the header and the footer.
std::string body(const std::string &condensed)
{
    const std::string header = CondensedLog::header();
    const std::string footer = CondensedLog::footer();
    if (condensed.size() < header.size() + footer.size()
        || condensed.compare(0, header.size(), header) != 0
        || condensed.compare(condensed.size() - footer.size(), footer.size(), footer) != 0)
        return "<header or footer missing>";
    return condensed.substr(header.size(), condensed.size() - header.size() - footer.size());
}

// Logs built from the pieces that matter to the rules, in random order.
std::string generatedLog(std::mt19937 &random, const std::string &call)
{
    const std::string longer = call + "X";
    const std::string piece[] = {
        "UTC", "UTC Date: 2008 Mar 05", "---", "--", "-----------------", "Trans", "TRANS",
        "utc", "123456  Transmitting:  JT65A   CQ K1ABC FN42", "1234567Trans", "123456789Trans",
        "12345678Tran", call, call, longer, call.substr(0, call.size() / 2), " ", "  ",
        "0105  -3  2.1  -29  3 *", "\r", "\n", "\r\n", "\r\n", "\n\r", "\r\r", std::string(1, '\0'),
        "\xe9\xff", std::string(40, 'A'), std::string(3000, '9'),
    };
    std::uniform_int_distribution<std::size_t> pick(0, std::size(piece) - 1);
    std::uniform_int_distribution<int> count(0, 60);
    std::string log;
    for (int n = count(random); n > 0; --n)
        log += piece[pick(random)];
    return log;
}

} // namespace

class LogCondenserTest : public QObject
{
    Q_OBJECT

private slots:
    void matchesPlainRulesOnGeneratedLogs_data();
    void matchesPlainRulesOnGeneratedLogs();
    void keepsTheReviewedLines_data();
    void keepsTheReviewedLines();
    void headerAndFooterAreSixtyFourColumns();
    void linesAroundALongLineSplitCorrectly();
    void linesLongerThanTheBuffers_data();
    void linesLongerThanTheBuffers();
    void memoryFollowsTheBuffersNotTheLines_data();
    void memoryFollowsTheBuffersNotTheLines();
    void workIsInProportionToTheLog_data();
    void workIsInProportionToTheLog();
};

void LogCondenserTest::matchesPlainRulesOnGeneratedLogs_data()
{
    QTest::addColumn<std::string>("call");
    QTest::addColumn<unsigned>("seed");
    const std::pair<const char *, std::string> calls[] = {
        {"call sign", "K1ABC"}, {"portable call", "W1AW/P"}, {"one letter", "A"},
        {"call that is a marker word", "UTC"}, {"empty call", ""}, {"call with a blank", "K1ABC W"},
    };
    for (const auto &[name, call] : calls) {
        for (unsigned seed = 1; seed <= 4; ++seed)
            QTest::addRow("%s, log %u", name, seed) << call << seed;
    }
}

void LogCondenserTest::matchesPlainRulesOnGeneratedLogs()
{
    QFETCH(std::string, call);
    QFETCH(unsigned, seed);
    std::mt19937 random(seed);
    for (int log = 0; log < 25; ++log) {
        const std::string input = generatedLog(random, call);
        const std::string expected = referenceCondense(input, call);
        for (const std::size_t bufferSize : {std::size_t{1}, std::size_t{2}, std::size_t{7},
                                             LogCondenser::defaultBufferSize}) {
            const std::string actual = condense(input, call, bufferSize);
            if (actual != expected) {
                QFAIL(qPrintable(QStringLiteral("log %1 differs with a buffer of %2 bytes:\n%3")
                                     .arg(log).arg(bufferSize)
                                     .arg(QString::fromLatin1(QByteArray::fromStdString(input).toPercentEncoding()))));
            }
        }
        // Lines longer than the room kept by their place in the log.
        for (const std::size_t bufferSize : {std::size_t{1}, std::size_t{2}, std::size_t{7}, std::size_t{4096}}) {
            for (const std::size_t joinRoom : {std::size_t{0}, std::size_t{5}}) {
                QVERIFY2(condenseByPosition(input, call, bufferSize, joinRoom) == expected,
                         qPrintable(QStringLiteral("log %1, buffer of %2, room of %3, read again by position")
                                        .arg(log).arg(bufferSize).arg(joinRoom)));
            }
        }
        // Tiny buffers read ahead on the second thread, as large ones are.
        const std::pair<std::size_t, std::size_t> buffersAndRoom[] = {
            {1, 5}, {7, LogCondenser::defaultJoinRoom}, {4096, 0}};
        for (const auto &[bufferSize, joinRoom] : buffersAndRoom) {
            if (log % 5 != 0)
                break;
            QVERIFY2(condense(input, call, bufferSize, Reading::Ahead, joinRoom) == expected,
                     qPrintable(QStringLiteral("log %1, buffer of %2 read ahead, room of %3")
                                    .arg(log).arg(bufferSize).arg(joinRoom)));
        }
    }
}

void LogCondenserTest::keepsTheReviewedLines_data()
{
    QTest::addColumn<std::string>("log");
    QTest::addColumn<std::string>("call");
    QTest::addColumn<std::string>("expectedBody");

    QTest::newRow("empty log") << ""s << "K1ABC"s << ""s;
    QTest::newRow("CR LF after the last line adds no empty line")
        << "K1ABC here\r\n"s << "K1ABC"s << "K1ABC here\r\n"s;
    QTest::newRow("last line without a terminator is kept")
        << "x\r\nK1ABC here"s << "K1ABC"s << "K1ABC here\r\n"s;
    QTest::newRow("UTC line after an empty line")
        << "UTC Date: 2008 Mar 05\r\n"s << "K1ABC"s << "\r\nUTC Date: 2008 Mar 05\r\n"s;
    QTest::newRow("two UTC lines in a row")
        << "UTC 1\r\nUTC 2\r\n"s << "K1ABC"s << "\r\nUTC 1\r\n\r\nUTC 2\r\n"s;
    QTest::newRow("UTC line with the call is written once")
        << "UTC K1ABC\r\n"s << "K1ABC"s << "\r\nUTC K1ABC\r\n"s;
    QTest::newRow("Trans in columns 9 to 13")
        << "123456  Transmitting: CQ\r\n"s << "K1ABC"s << "123456  Transmitting: CQ\r\n"s;
    QTest::newRow("Trans one column early or late")
        << "1234567Trans\r\n123456789Trans\r\n"s << "K1ABC"s << ""s;
    QTest::newRow("line of 12 characters is no Trans line")
        << "12345678Tran\r\n"s << "K1ABC"s << ""s;
    QTest::newRow("three dashes kept, two dashes not")
        << "---------\r\n--x\r\n"s << "K1ABC"s << "---------\r\n"s;
    QTest::newRow("two characters are no marker") << "UT\r\n--\r\n"s << "K1ABC"s << ""s;
    QTest::newRow("markers are case-sensitive")
        << "utc\r\n12345678trans\r\n"s << "K1ABC"s << ""s;
    QTest::newRow("call twice, line once") << "K1ABC K1ABC\r\n"s << "K1ABC"s << "K1ABC K1ABC\r\n"s;
    QTest::newRow("call at the end") << "CQ K1ABC\r\n"s << "K1ABC"s << "CQ K1ABC\r\n"s;
    QTest::newRow("call 200 bytes into a line, a CR 64 bytes before it")
        << "x\r\n" + std::string(136, 'a') + "\r" + std::string(63, 'b') + "K1ABC\r\n" << "K1ABC"s
        << std::string(63, 'b') + "K1ABC\r\n";
    QTest::newRow("call alone") << "K1ABC\r\n"s << "K1ABC"s << "K1ABC\r\n"s;
    QTest::newRow("call inside a longer call") << "CQ K1ABCD\r\n"s << "K1ABC"s << "CQ K1ABCD\r\n"s;
    QTest::newRow("call in lower case only") << "cq k1abc\r\n"s << "K1ABC"s << ""s;
    QTest::newRow("line shorter than the call") << "K1AB\r\n"s << "K1ABC"s << ""s;
    QTest::newRow("call split by a line end") << "K1A\r\nBC\r\n"s << "K1ABC"s << ""s;
    QTest::newRow("empty call keeps every line, empty ones too")
        << "a\r\n\r\nUTC\r\nb"s << ""s << "a\r\n\r\n\r\nUTC\r\nb\r\n"s;
    QTest::newRow("lone CR ends a line") << "x\rK1ABC\ry"s << "K1ABC"s << "K1ABC\r\n"s;
    QTest::newRow("lone LF ends a line") << "x\nK1ABC\ny\n"s << "K1ABC"s << "K1ABC\r\n"s;
    QTest::newRow("LF CR is two line ends") << "K1ABC\n\rK1ABC"s << ""s << "K1ABC\r\n\r\nK1ABC\r\n"s;
    QTest::newRow("bytes copied unchanged")
        << "K1ABC \xe9\x00\xff\t\r\n"s << "K1ABC"s << "K1ABC \xe9\x00\xff\t\r\n"s;
}

void LogCondenserTest::keepsTheReviewedLines()
{
    QFETCH(std::string, log);
    QFETCH(std::string, call);
    QFETCH(std::string, expectedBody);
    for (const std::size_t bufferSize : {std::size_t{1}, std::size_t{7}, LogCondenser::defaultBufferSize})
        QCOMPARE(body(condense(log, call, bufferSize)), expectedBody);
}

void LogCondenserTest::headerAndFooterAreSixtyFourColumns()
{
    const std::string framed = CondensedLog::header() + CondensedLog::footer();
    QCOMPARE(condense("", "K1ABC"), framed);

    std::vector<std::string> lines;
    for (std::size_t start = 0; start < framed.size();) {
        const std::size_t end = framed.find("\r\n", start);
        QVERIFY(end != std::string::npos);
        lines.push_back(framed.substr(start, end - start));
        start = end + 2;
    }
    QCOMPARE(lines.size(), std::size_t{8});
    const std::string rule(64, '=');
    QCOMPARE(lines[0], rule);
    QCOMPARE(lines[1], "This file has been clarified from the JT65a 'CALL.txt' log file."s);
    QCOMPARE(lines[2], rule);
    QCOMPARE(lines[3], ""s);
    QCOMPARE(lines[4], rule);
    QCOMPARE(lines[5].size(), std::size_t{64});
    QVERIFY(lines[5].starts_with("JT65a raw log clarifier Ver "s + ProgramIdentity::version));
    QCOMPARE(lines[6].size(), std::size_t{64});
    QCOMPARE(lines[6].substr(0, 25), std::string(25, ' '));
    QVERIFY(lines[6].substr(25, 8).find_first_not_of(' ') != std::string::npos);
    QCOMPARE(lines[6].substr(33), std::string(31, ' '));
    QCOMPARE(lines[7], rule);
}

void LogCondenserTest::linesAroundALongLineSplitCorrectly()
{
    // A line far longer than the buffer is kept by its place; the lines
    // around it still split correctly.
    const std::string longLine = "K1ABC" + std::string(100000, 'z');
    const std::string log = "UTC a\r\n" + longLine + "\r\n" + longLine + "\rtail K1ABC";
    QCOMPARE(body(condense(log, "K1ABC", 16)), "\r\nUTC a\r\n" + longLine + "\r\n" + longLine + "\r\ntail K1ABC\r\n");
}

void LogCondenserTest::linesLongerThanTheBuffers_data()
{
    QTest::addColumn<std::string>("log");
    QTest::addColumn<std::string>("expectedBody");
    const std::string z(100, 'z');
    const std::string transmit = "123456  Transmitting: " + z;
    QTest::newRow("call in the middle") << "a\r\n" + z + "K1ABC" + z + "\r\nb\r\n" << z + "K1ABC" + z + "\r\n";
    QTest::newRow("call at the start and at the end")
        << "K1ABC" + z + "\rx\n" + z + "K1ABC" << "K1ABC" + z + "\r\n" + z + "K1ABC\r\n";
    QTest::newRow("call in lower case is dropped") << z + "k1abc" + z + "\r\nK1ABC\r\n" << "K1ABC\r\n"s;
    QTest::newRow("call cut by a line end is dropped") << z + "K1A\r\nBC" + z + "\r\n" << ""s;
    QTest::newRow("no call, dropped between kept lines")
        << "K1ABC\r\n" + z + z + "\nK1ABC\n" << "K1ABC\r\nK1ABC\r\n"s;
    QTest::newRow("UTC line") << "UTC" + z + "\r\n" << "\r\nUTC" + z + "\r\n";
    QTest::newRow("Trans line, its CR LF cut by a read") << transmit + "\r\n" << transmit + "\r\n";
    QTest::newRow("separator line") << "---" + z << "---" + z + "\r\n";
    QTest::newRow("two dashes are no separator") << "--" + z + "\r\n" << ""s;
    QTest::newRow("line ended by a lone CR before an empty line")
        << "K1ABC" + z + "\r\r\n" << "K1ABC" + z + "\r\n";
}

void LogCondenserTest::linesLongerThanTheBuffers()
{
    QFETCH(std::string, log);
    QFETCH(std::string, expectedBody);
    QCOMPARE(referenceCondense(log, "K1ABC"), condense(log, "K1ABC"));
    for (const std::size_t bufferSize : {std::size_t{1}, std::size_t{2}, std::size_t{7}, std::size_t{64}}) {
        for (const std::size_t joinRoom : {std::size_t{0}, std::size_t{1}, std::size_t{16}})
            QCOMPARE(body(condenseByPosition(log, "K1ABC", bufferSize, joinRoom)), expectedBody);
    }
}

void LogCondenserTest::memoryFollowsTheBuffersNotTheLines_data()
{
    QTest::addColumn<std::string>("call");
    QTest::addColumn<std::size_t>("bufferSize");
    QTest::newRow("7-byte buffers, line kept") << "K1ABC"s << std::size_t{7};
    QTest::newRow("7-byte buffers, line dropped") << "W9XYZ"s << std::size_t{7};
    QTest::newRow("1 MiB buffers, line kept") << "K1ABC"s << LogCondenser::defaultBufferSize;
}

void LogCondenserTest::memoryFollowsTheBuffersNotTheLines()
{
    // One line ten times as long as the other, both far longer than the
    // buffers: the condenser holds as much for each.
    QFETCH(std::string, call);
    QFETCH(std::size_t, bufferSize);
    std::size_t held[2] = {};
    std::size_t lineLength = 3 * LogCondenser::defaultBufferSize;
    for (std::size_t &heldBytes : held) {
        const std::string log = "UTC a\r\n" + std::string(lineLength / 2, 'z') + "K1ABC"
            + std::string(lineLength / 2, 'z') + "\r\nK1ABC";
        QVERIFY(condenseByPosition(log, call, bufferSize, 16, &heldBytes) == referenceCondense(log, call));
        QVERIFY2(heldBytes < LogCondenser::defaultBufferSize * 8,
                 qPrintable(QStringLiteral("%1 bytes held for a line of %2").arg(heldBytes).arg(lineLength)));
        lineLength *= 10;
    }
    QCOMPARE(held[1], held[0]);
}

void LogCondenserTest::workIsInProportionToTheLog_data()
{
    QTest::addColumn<std::string>("log");
    QTest::addColumn<std::size_t>("bufferSize");
    const std::string longLine = "K1ABC " + std::string(300000, 'z');
    const std::string shortLines = [] {
        std::string lines;
        for (int i = 0; i < 5000; ++i)
            lines += "000200   1  -21  0.3   -3  2 * K1ABC W9XYZ EN37\r\n";
        return lines;
    }();
    for (const std::size_t bufferSize : {std::size_t{1}, LogCondenser::defaultBufferSize}) {
        const char *buffer = bufferSize == 1 ? "buffer of 1 byte" : "1 MiB buffer";
        QTest::addRow("one long line without an end, %s", buffer) << longLine << bufferSize;
        QTest::addRow("long lines ended by CR LF and a lone CR, %s", buffer)
            << longLine + "\r\n" + longLine + "\r" + longLine << bufferSize;
        QTest::addRow("short lines, %s", buffer) << shortLines << bufferSize;
        QTest::addRow("long line between short lines, %s", buffer)
            << shortLines + longLine + "\n" + shortLines << bufferSize;
    }
}

void LogCondenserTest::workIsInProportionToTheLog()
{
    QFETCH(std::string, log);
    QFETCH(std::size_t, bufferSize);
    StringSource source(log);
    StringSink sink;
    LogCondenser condenser("K1ABC", bufferSize);
    condenser.condense(source, sink);
    QVERIFY(sink.text == referenceCondense(log, "K1ABC"));
    QVERIFY2(condenser.bytesExamined() <= 4 * log.size(),
             qPrintable(QStringLiteral("%1 bytes examined for a log of %2").arg(condenser.bytesExamined()).arg(log.size())));
    QVERIFY(condenser.bytesExamined() >= log.size());
}

QTEST_APPLESS_MAIN(LogCondenserTest)
#include "tst_logcondenser.moc"
