// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "CommandButton.h"
#include "CondensingRun.h"
#include "ModalBoxCloser.h"

#include <QDir>
#include <QObject>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <memory>
#include <string>

// What the tests of runs on the desktop's files start from: a new folder
// for each test (and another one a link may lead to), the run button, the
// message boxes closed as they come, and a short decoder log.
class RunInFolder : public QObject
{
protected:
    inline static const std::string theLog =
        "\r\nUTC Date: 2008 Mar 05\r\n000100  Transmitting:  JT65A   CQ K1ABC FN42\r\n"
        "000200   1  -21  0.3   -3  2 * K1ABC W9XYZ EN37\r\n";

    // `whileBoxShown` is called each time a message box is up.
    void startInNewFolder(std::function<void()> whileBoxShown = {})
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_elsewhere = std::make_unique<QTemporaryDir>();
        QVERIFY(m_elsewhere->isValid());
        m_closer = std::make_unique<ModalBoxCloser>(std::move(whileBoxShown));
    }

    QString path(const QString &name) const { return m_dir->filePath(name); }
    QStringList entries() const
    {
        return QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot);
    }

    // Condenses ALL.TXT of `folder` (the test's own, unless named) for `call`.
    bool run(RunEnvironment &environment, const QString &folder = {}, const std::string &call = "K1ABC")
    {
        CondensingRun condensingRun(environment, [this](const std::string &caption) {
            m_button.setCaption(QString::fromStdString(caption));
        });
        const std::string inFolder = (folder.isEmpty() ? m_dir->path() : folder).toStdString();
        return condensingRun.perform({inFolder, "ALL.TXT", call, call});
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<QTemporaryDir> m_elsewhere;
    CommandButton m_button;
    std::unique_ptr<ModalBoxCloser> m_closer;
};
