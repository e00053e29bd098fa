// SPDX-License-Identifier: GPL-3.0-or-later
#include "CondensedLog.h"
#include "FileError.h"
#include "LogCondenser.h"
#include "MemoryStreams.h"
#include "ReferenceCondenser.h"
#include "RunCancelled.h"
#include "RunProgress.h"
#include "StringPrinting.h"

#include <QTest>

#include <functional>

// The condenser's reading of a log that does not hold still or does not
// come to its end: a log changed under the run, a read or write that
// fails, a stop asked for; and the progress a whole reading reports.

Q_DECLARE_METATYPE(std::function<void(std::string &)>)

namespace {

// A log of `count` decodes of the call.
std::string decodes(int count)
{
    std::string log;
    for (int i = 0; i < count; ++i)
        log += "000100  -3  2.1  -29  3 * K1ABC W9XYZ EN37\r\n";
    return log;
}

// A log of other decodes, `size` bytes or up to a line more.
std::string otherDecodes(std::size_t size)
{
    std::string log;
    while (log.size() < size)
        log += "000200   1  -21  0.3   -3  2 * K1ABC W9XYZ EN37\r\n";
    return log;
}

} // namespace

class LogReadingTest : public QObject
{
    Q_OBJECT

private slots:
    void logChangedDuringTheRun_data();
    void logChangedDuringTheRun();
    void logChangedWhileItIsRead_data();
    void logChangedWhileItIsRead();
    void errorsPassThrough_data();
    void errorsPassThrough();
    void progressCountsTheWholeLog_data();
    void progressCountsTheWholeLog();
    void cancelStopsTheScan();
};

void LogReadingTest::logChangedDuringTheRun_data()
{
    using Change = std::function<void(std::string &)>;
    QTest::addColumn<Change>("change");
    QTest::addColumn<bool>("warned");
    // The long line lies at [2, 2002); its call sign at [1002, 1007).
    QTest::newRow("call sign rewritten") << Change([](std::string &log) { log[1004] = 'X'; }) << true;
    QTest::newRow("first bytes rewritten") << Change([](std::string &log) { log[2] = 'y'; }) << true;
    QTest::newRow("line end written into the line") << Change([](std::string &log) { log[1500] = '\n'; }) << true;
    QTest::newRow("log cut short") << Change([](std::string &log) { log.resize(1500); }) << true;
    QTest::newRow("log emptied") << Change([](std::string &log) { log.clear(); }) << true;
    QTest::newRow("more lines written at the end")
        << Change([](std::string &log) { log += "K1ABC more\r\n"; }) << false;
    QTest::newRow("other bytes of the line rewritten") << Change([](std::string &log) { log[1800] = 'y'; }) << false;
}

void LogReadingTest::logChangedDuringTheRun()
{
    // A decoder goes on writing its log during a run; a log rewritten or cut
    // short under the run is another matter: the run ends with a read error.
    QFETCH(std::function<void(std::string &)>, change);
    QFETCH(bool, warned);
    const std::string log = "a\n" + std::string(1000, 'z') + "K1ABC" + std::string(995, 'z') + "\r\nb\r\n";
    StringSource source(log);
    source.tellNoTime();  // what the reading sees alone decides
    source.changeBeforeRereading(change);
    StringSink sink;
    try {
        LogCondenser("K1ABC", 64, 16).condense(source, sink);
        QVERIFY2(!warned, "the change went unnoticed");
        QVERIFY(sink.text.ends_with(CondensedLog::footer()));
    } catch (const FileError &error) {
        QVERIFY2(warned, qPrintable(QString::fromStdString(error.what())));
        QCOMPARE(error.operation(), FileError::Operation::Read);
        QCOMPARE(error.reason(), std::string(FileError::changedDuringRun));
    }
}

void LogReadingTest::logChangedWhileItIsRead_data()
{
    using Change = std::function<void(StringSource &, std::string &)>;
    QTest::addColumn<std::size_t>("changedAfter");
    QTest::addColumn<Change>("change");
    QTest::addColumn<QByteArray>("warning");  // the reason, none where the run goes through
    const QByteArray none;
    const QByteArray changed = FileError::changedDuringRun;
    const std::size_t early = 1 << 20;
    // Within a read: the system copies it in two, before and after the change.
    const std::size_t withinFirst = early / 2;
    const std::size_t withinLater = early + early / 2;
    const std::size_t whole = std::string::npos;  // once the whole log is read
    const Change cutByTwelveBytes = [](StringSource &, std::string &log) { log.resize(log.size() - 12); };
    const Change otherLines = [](StringSource &, std::string &log) { log = otherDecodes(log.size() + 1000); };
    const Change rewrittenInPlace = [](StringSource &, std::string &log) {
        log = otherDecodes(log.size()).substr(0, log.size());
    };
    QTest::newRow("cut by twelve bytes") << early << cutByTwelveBytes << changed;
    QTest::newRow("cut by twelve bytes once read") << whole << cutByTwelveBytes << changed;
    QTest::newRow("emptied") << early << Change([](StringSource &, std::string &log) { log.clear(); }) << changed;
    QTest::newRow("emptied and filled again with other lines") << early << otherLines << changed;
    QTest::newRow("emptied and filled again within the first read") << withinFirst << otherLines << changed;
    QTest::newRow("emptied and filled again within a later read") << withinLater << otherLines << changed;
    QTest::newRow("rewritten in place within the first read") << withinFirst << rewrittenInPlace << changed;
    QTest::newRow("rewritten in place within a later read") << withinLater << rewrittenInPlace << changed;
    QTest::newRow("replaced by another file")
        << early << Change([](StringSource &source, std::string &) { source.replace(); })
        << QByteArray(FileError::movedDuringRun);
    const Change appended = [](StringSource &, std::string &log) { log += "000300 K1ABC appended\r\n"; };
    QTest::newRow("lines appended by the decoder") << early << appended << none;
    QTest::newRow("lines appended within the first read") << withinFirst << appended << none;
    // The same size at the end as at the start, where nothing was appended.
    const Change callRewritten = [](StringSource &, std::string &log) {
        // Away from the bytes read again around each piece's start.
        log.replace(log.find("K1ABC", 1000), 5, "K1ABD");
        log.replace(log.rfind("K1ABC", log.size() - 1000), 5, "K1ABD");
    };
    QTest::newRow("a line read and one not yet rewritten, as long as they were") << early << callRewritten << changed;
    QTest::newRow("a line rewritten, as long as it was, once read")
        << whole << Change([](StringSource &, std::string &log) { log.replace(log.find("K1ABC", 1000), 5, "K1ABD"); })
        << changed;
    QTest::newRow("lines appended once read") << whole << appended << none;
    QTest::newRow("lines appended once read, stamped before they land")
        << whole << Change([](StringSource &source, std::string &) {
               source.stampBeforeWriting("000300 K1ABC appended\r\n");
           }) << none;
}

void LogReadingTest::logChangedWhileItIsRead()
{
    // The run decides from what it reads itself, and from what the system
    // tells of the log at the start and at the end.
    QFETCH(std::size_t, changedAfter);
    QFETCH(std::function<void(StringSource &, std::string &)>, change);
    QFETCH(QByteArray, warning);
    std::string log;
    while (log.size() < (2 << 20))
        log += "000100  -3  2.1  -29  3 * K1ABC W9XYZ EN37\r\n";
    std::string changed = log;
    StringSource source(log);
    source.changeAfterReading(changedAfter, [&](std::string &data) {
        change(source, data);
        changed = data;
    });
    StringSink sink;
    try {
        LogCondenser("K1ABC").condense(source, sink);
        QVERIFY2(warning.isEmpty(), "the change went unnoticed");
        QVERIFY(sink.text == referenceCondense(changed, "K1ABC"));
    } catch (const FileError &error) {
        QCOMPARE(QByteArray::fromStdString(error.reason()), warning);
    }
}

void LogReadingTest::errorsPassThrough_data()
{
    QTest::addColumn<bool>("readFails");
    QTest::addColumn<std::size_t>("bufferSize");
    QTest::newRow("read error") << true << std::size_t{4096};
    QTest::newRow("write error") << false << std::size_t{4096};
    QTest::newRow("read error, read ahead") << true << LogCondenser::defaultBufferSize;
    QTest::newRow("write error, read ahead") << false << LogCondenser::defaultBufferSize;
}

void LogReadingTest::errorsPassThrough()
{
    QFETCH(bool, readFails);
    QFETCH(std::size_t, bufferSize);
    const std::string log = decodes(60000);
    StringSource source(log);
    StringSink sink;
    if (readFails)
        source.failAfter(log.size() / 2);
    else
        sink.failAfter(1000000);
    LogCondenser condenser("K1ABC", bufferSize);
    try {
        condenser.condense(source, sink);
        QFAIL("the error was swallowed");
    } catch (const FileError &error) {
        QCOMPARE(error.operation(), readFails ? FileError::Operation::Read : FileError::Operation::Write);
        QCOMPARE(error.reason(), std::string(readFails ? "injected read error" : "injected write error"));
    }
}

void LogReadingTest::progressCountsTheWholeLog_data()
{
    QTest::addColumn<std::size_t>("bufferSize");
    QTest::newRow("read as needed") << std::size_t{4096};
    QTest::newRow("read ahead") << LogCondenser::defaultBufferSize;
}

void LogReadingTest::progressCountsTheWholeLog()
{
    QFETCH(std::size_t, bufferSize);
    const std::string log = decodes(60000);
    StringSource source(log);
    StringSink sink;
    RunProgress progress;
    progress.setTotal(log.size());
    LogCondenser("K1ABC", bufferSize).condense(source, sink, &progress);
    QCOMPARE(progress.done(), std::uint64_t(log.size()));
    QCOMPARE(progress.share(), 1.0);
}

void LogReadingTest::cancelStopsTheScan()
{
    // The stop is asked for while the log is being read: nothing more is
    // written after it, and the footer never comes.
    const std::string log = decodes(200000);
    RunProgress progress;
    struct CancellingSource : StringSource {
        using StringSource::StringSource;
        RunProgress *progress = nullptr;
        std::size_t readAt(std::uint64_t offset, char *buffer, std::size_t capacity) override
        {
            progress->cancel();
            return StringSource::readAt(offset, buffer, capacity);
        }
    } source(log);
    source.progress = &progress;
    StringSink sink;
    try {
        LogCondenser("K1ABC", 65536).condense(source, sink, &progress);
        QFAIL("the run went on to the end");
    } catch (const RunCancelled &) {
    }
    QVERIFY(sink.text.size() < log.size() / 2);
    QVERIFY(!sink.text.ends_with(CondensedLog::footer()));
}

QTEST_APPLESS_MAIN(LogReadingTest)
#include "tst_logreading.moc"
