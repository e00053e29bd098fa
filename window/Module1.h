// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QtGlobal>

// The two values the window shares with the run: the call sign exactly as
// typed into Text2, and its number of characters. Both are rewritten on every
// change of Text2.
namespace Module1 {

inline QString OperatorCall;
inline qint32 OperatorCallLength = 0;

} // namespace Module1
