// SPDX-License-Identifier: GPL-3.0-or-later
#include "CondensedLog.h"
#include "RunPaths.h"
#include "StringPrinting.h"

#include <QTest>

using namespace std::string_literals;

class CondensedLogTest : public QObject
{
    Q_OBJECT

private slots:
    void fileNameKeepsTheCallInsideItsFolder_data();
    void fileNameKeepsTheCallInsideItsFolder();
    void separatorIsAlwaysInserted_data();
    void separatorIsAlwaysInserted();
};

void CondensedLogTest::fileNameKeepsTheCallInsideItsFolder_data()
{
    QTest::addColumn<std::string>("call");
    QTest::addColumn<std::string>("fileName");
    QTest::newRow("plain call") << "K1ABC"s << "jt65a_K1ABC_logfile.txt"s;
    QTest::newRow("lower case kept") << "k1abc"s << "jt65a_k1abc_logfile.txt"s;
    QTest::newRow("portable suffix") << "W1AW/P"s << "jt65a_W1AW-P_logfile.txt"s;
    QTest::newRow("portable prefix") << "VE3/K1ABC"s << "jt65a_VE3-K1ABC_logfile.txt"s;
    QTest::newRow("climbing out of the folder") << "../../etc"s << "jt65a_..-..-etc_logfile.txt"s;
    QTest::newRow("every reserved character") << "\\/:*?\"<>|"s << "jt65a_---------_logfile.txt"s;
    QTest::newRow("control characters") << "A\tB\x01\x7f"s << "jt65a_A-B--_logfile.txt"s;
    QTest::newRow("blank and 8-bit letters kept") << "K1 \xc3\xa9"s << "jt65a_K1 \xc3\xa9_logfile.txt"s;
    QTest::newRow("empty call") << ""s << "jt65a__logfile.txt"s;
}

void CondensedLogTest::fileNameKeepsTheCallInsideItsFolder()
{
    QFETCH(std::string, call);
    QFETCH(std::string, fileName);
    QCOMPARE(CondensedLog::fileNameFor(call), fileName);
}

void CondensedLogTest::separatorIsAlwaysInserted_data()
{
    QTest::addColumn<std::string>("folder");
    QTest::addColumn<std::string>("joined");
#ifdef _WIN32
    QTest::newRow("folder") << "logs"s << "logs\\ALL.TXT"s;
    QTest::newRow("root doubles the separator") << "\\"s << "\\\\ALL.TXT"s;
    QTest::newRow("forward slashes become the system's") << "C:/WSJT/logs"s << "C:\\WSJT\\logs\\ALL.TXT"s;
#else
    QTest::newRow("folder") << "logs"s << "logs/ALL.TXT"s;
    QTest::newRow("root doubles the separator") << "/"s << "//ALL.TXT"s;
    QTest::newRow("backslashes are part of a name") << "a\\b"s << "a\\b/ALL.TXT"s;
#endif
}

void CondensedLogTest::separatorIsAlwaysInserted()
{
    QFETCH(std::string, folder);
    QFETCH(std::string, joined);
    QCOMPARE(RunPaths::join(folder, "ALL.TXT"), joined);
}

QTEST_APPLESS_MAIN(CondensedLogTest)
#include "tst_condensedlog.moc"
