// SPDX-License-Identifier: GPL-3.0-or-later
#include "MessageBox.h"

#include "ProgramIdentity.h"

#include <QMessageBox>

namespace MessageBox {

namespace {

void show(QWidget *parent, QMessageBox::Icon icon, const QString &text)
{
    QMessageBox box(icon, QString::fromUtf8(ProgramIdentity::title),
                    text, QMessageBox::Ok, parent);
    box.setObjectName(QStringLiteral("MessageBox"));
    box.setTextFormat(Qt::PlainText);  // names may hold "<", ">" and "&"
    box.exec();
}

} // namespace

void information(QWidget *parent, const QString &text)
{
    show(parent, QMessageBox::Information, text);
}

void warning(QWidget *parent, const QString &text)
{
    show(parent, QMessageBox::Warning, text);
}

} // namespace MessageBox
