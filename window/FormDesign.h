// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QString>

#include <cstdint>
#include <span>

class QColor;
class QFont;
class QWidget;

// Form1 as designed: the window's settings and its 21 controls, held once as
// data, and the one function that builds the controls from it.
namespace FormDesign {

enum class Kind { CommandButton, TextBox, Label, PictureBox, DriveList, FolderList, FileList };
enum class Picture { None, HandDownLeft, HandDownRight, HandUp };
enum class Align { Left, Centre };

struct Font
{
    const char *face;
    double points;
    bool bold;
    bool italic;
};

// Colours as &H00BBGGRR; platformColour keeps the control's own.
inline constexpr std::uint32_t platformColour = 0xFFFFFFFFu;

struct Control
{
    int tabIndex;  // the focus moves by it; labels and pictures take none
    const char *name;
    Kind kind;
    const char *text;
    int left, top, width, height;  // twips
    Font font;
    std::uint32_t backColour, foreColour;
    bool visible;
    Align align;
    Picture picture;
    // What a screen reader calls a control that takes the focus, where its
    // caption does not say it (buttons are called by their captions).
    const char *accessibleName = nullptr;
    // For a prompt label: the control it prompts for (while shown, its text
    // is that control's accessible description).
    const char *promptFor = nullptr;
};

inline constexpr int clientWidth = 5910;   // twips
inline constexpr int clientHeight = 8325;
inline constexpr std::uint32_t windowBackColour = 0x0000C000u;
inline constexpr std::uint32_t windowForeColour = 0x00C0FFC0u;
inline constexpr Font windowFont{"MS Sans Serif", 8.25, false, false};

// 15 twips are one device-independent pixel.
int pixels(int twips);

QColor colour(std::uint32_t vbColour);
QFont font(const Font &design);

// Creates every control on `surface` (the form's client area) as designed,
// stacked, in the order of their tab indexes and with their prompts, and
// returns them by name. No control's events are raised.
QHash<QString, QWidget *> build(QWidget *surface);

} // namespace FormDesign
