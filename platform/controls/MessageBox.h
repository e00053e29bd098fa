// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QString;
class QWidget;

// Modal message boxes with one OK button, titled with the tool's name, that
// show their text as plain text. Each call returns when the user has
// dismissed the box.
namespace MessageBox {

void information(QWidget *parent, const QString &text);
void warning(QWidget *parent, const QString &text);

} // namespace MessageBox
