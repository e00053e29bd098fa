// SPDX-License-Identifier: GPL-3.0-or-later
#include "FormFixture.h"

#include "Form1.h"
#include "FormControls.h"
#include "Module1.h"

#include <QDir>
#include <QScreen>
#include <QTest>

FormFixture::FormFixture()
{
    Module1::OperatorCall.clear();
    Module1::OperatorCallLength = 0;
    if (!m_dir.isValid() || !QDir::setCurrent(m_dir.path()))
        qFatal("no start folder for the test");
}

FormFixture::~FormFixture()
{
    close();
    QDir::setCurrent(QDir::tempPath());
}

QString FormFixture::path(const QString &name) const
{
    return QDir(m_dir.path()).filePath(name);
}

Form1 &FormFixture::create()
{
    m_form = std::make_unique<Form1>();
    return *m_form;
}

bool FormFixture::start(Wait wait, QScreen *screen)
{
    Form1 &form = m_form != nullptr ? *m_form : create();
    if (screen != nullptr)
        form.move(screen->availableGeometry().topLeft());
    form.start();
    if (wait == Wait::Exposed) {
        if (!QTest::qWaitForWindowExposed(m_form.get()))
            return false;
    } else {
        m_form->activateWindow();
        if (!QTest::qWaitForWindowActive(m_form.get()))
            return false;
    }
    // The start folder is read away from the window's thread.
    return QTest::qWaitFor([this] { return FormControls::listsRead(*m_form); });
}

void FormFixture::close()
{
    m_form.reset();
}

Form1 &FormFixture::form() const
{
    if (m_form == nullptr)
        qFatal("the form has not been created");
    return *m_form;
}
