// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QTemporaryDir>

#include <memory>

class Form1;
class QScreen;

// The program's start, for one test: Module1's values as at a new start, a
// folder of the test's own as the folder the program is started in (where
// the lists open), and Form1 created as the start-up object, loaded and
// shown. Ending the fixture closes the window and leaves the folder.
class FormFixture
{
public:
    enum class Wait { Exposed, Active };

    FormFixture();
    ~FormFixture();
    FormFixture(const FormFixture &) = delete;
    FormFixture &operator=(const FormFixture &) = delete;

    // The start folder, and `name` in it.
    QString folder() const { return m_dir.path(); }
    QString path(const QString &name) const;

    // Form1 with its designed controls, before its load event.
    Form1 &create();

    // Creates Form1 (unless create() has), loads and shows it (on `screen`, at its top-left corner,
    // where given); true once it is exposed, or with Wait::Active once it is
    // the active window and takes the keys.
    [[nodiscard]] bool start(Wait wait = Wait::Exposed, QScreen *screen = nullptr);

    // Closes the window, as a new start of the program needs.
    void close();

    Form1 &form() const;

private:
    QTemporaryDir m_dir;
    std::unique_ptr<Form1> m_form;
};
