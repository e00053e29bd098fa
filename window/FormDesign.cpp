// SPDX-License-Identifier: GPL-3.0-or-later
#include "FormDesign.h"

#include "Artwork.h"
#include "CommandButton.h"
#include "DriveList.h"
#include "FileList.h"
#include "FolderList.h"
#include "Label.h"
#include "PictureBox.h"
#include "ProgramIdentity.h"
#include "TextBox.h"

#include <QApplication>
#include <QColor>
#include <QFont>

#include <algorithm>
#include <cmath>

namespace FormDesign {

namespace {

constexpr Font plain = windowFont;
constexpr Font bold8{"MS Sans Serif", 8.25, true, false};
constexpr Font bold12{"MS Sans Serif", 12, true, false};
constexpr Font prompt{"MS Sans Serif", 13.5, false, false};
constexpr Font banner{"Nina", 48, true, true};
constexpr Font bannerSmall{"Nina", 20.25, true, true};

constexpr std::uint32_t green = 0x0000C000u;
constexpr std::uint32_t yellow = 0x0000FFFFu;
constexpr std::uint32_t lightYellow = 0x00C0FFFFu;
constexpr std::uint32_t red = 0x000000FFu;
constexpr std::uint32_t own = platformColour;
// The standard scheme's text colour: labels draw their text in it whatever
// the desktop's scheme, as their back colour is fixed.
constexpr std::uint32_t standardText = 0x00000000u;

using enum Kind;
using enum Align;
using enum Picture;

constexpr Control table[] = {
    // tab  name            kind           caption or text                            left   top width height  font         back         fore   visible
    //   align picture, and where set: accessible name, prompt for
    {0, "Command1", CommandButton, "Begin clarifying the ALL.txt file now.", 480, 120, 4935, 855, bold12, own, own, true, Left, None},
    {1, "Command2", CommandButton, "Close and Exit", 480, 7800, 4935, 375, bold12, own, own, true, Left, None},
    {2, "Files", FileList, "", 3480, 1920, 1935, 3795, plain, own, own, true, Left, None, "Files in the folder"},
    {3, "Drives", DriveList, "", 480, 1920, 3015, 315, plain, own, own, true, Left, None, "Drive"},
    {4, "Folder", FolderList, "", 480, 2160, 3015, 3465, plain, own, own, true, Left, None, "Folder"},
    {5, "Text1", TextBox, "No log file selected yet.", 480, 5880, 2415, 375, bold8, lightYellow, red, true, Left, None, "Log file name"},
    {6, "Command3", CommandButton, "Find JT65a log file: \"ALL.TXT\" ", 480, 7320, 4935, 375, plain, own, own, true, Left, None},
    {7, "CenterBanner", Label, "Master", 1200, 3600, 3375, 1095, banner, green, yellow, true, Centre, None},
    {8, "Picture_up", PictureBox, "", 2520, 980, 855, 1215, plain, green, own, false, Left, HandUp},
    {9, "Picture_down", PictureBox, "", 720, 6360, 1215, 855, plain, green, own, false, Left, HandDownRight},
    {10, "Label1", Label, "Next, find the file to clarify.", 2160, 6600, 3135, 495, prompt, green, standardText, false, Left, None, nullptr, "Command3"},
    {11, "Label2", Label, "Now,", 1560, 1320, 855, 495, prompt, green, standardText, false, Left, None, nullptr, "Command1"},
    {12, "Label3", Label, "do it!", 3480, 1320, 735, 495, prompt, green, standardText, false, Left, None, nullptr, "Command1"},
    {13, "Label4", Label, "", 1200, 4680, 3375, 1095, bannerSmall, green, yellow, true, Centre, None},
    {14, "Label5", Label, "Clarifier", 1320, 2760, 3375, 1095, banner, green, yellow, true, Centre, None},
    {15, "Label6", Label, "JT65a", 1320, 1920, 3375, 1095, banner, green, yellow, true, Centre, None},
    {16, "Text2", TextBox, "", 3000, 5880, 2415, 375, bold8, lightYellow, red, true, Left, None, "Call sign"},
    {17, "Label7", Label, "First, enter your call", 2880, 6360, 2535, 375, prompt, green, standardText, true, Left, None, nullptr, "Text2"},
    {18, "Picture_call", PictureBox, "", 4320, 4920, 1215, 855, plain, green, own, true, Left, HandDownLeft},
    {19, "Label8", Label, "You MUST use CAPS.", 2520, 6720, 3135, 375, prompt, green, standardText, true, Left, None, nullptr, "Text2"},
    {20, "Version", Label, ProgramIdentity::versionCaption, 2160, 360, 1575, 495, prompt, green, standardText, true, Centre, None},
};

constexpr const char *stacking[] = {
    // front layer
    "Picture_call", "Text2", "Picture_down", "Picture_up", "Command3", "Text1", "Folder", "Drives", "Files",
    "Command2", "Command1",
    // label layer
    "Version", "Label8", "Label7", "Label6", "Label5", "Label4", "Label3", "Label2", "Label1", "CenterBanner",
};

QWidget *create(const Control &design, QWidget *surface)
{
    switch (design.kind) {
    case CommandButton: {
        auto *button = new ::CommandButton(surface);
        button->setText(QString::fromUtf8(design.text));
        return button;
    }
    case TextBox: {
        auto *box = new ::TextBox(surface);
        box->setText(QString::fromUtf8(design.text));
        return box;
    }
    case Label: {
        auto *label = new ::Label(surface);
        label->setText(QString::fromUtf8(design.text));
        label->setAlignment(Qt::AlignTop | (design.align == Centre ? Qt::AlignHCenter : Qt::AlignLeft));
        return label;
    }
    case PictureBox: {
        auto *box = new ::PictureBox(surface);
        box->setPicture(design.picture == HandUp ? Artwork::handPointingUp()
                        : design.picture == HandDownRight ? Artwork::handPointingDownRight()
                                                          : Artwork::handPointingDownLeft());
        return box;
    }
    case DriveList:
        return new ::DriveList(surface);
    case FolderList:
        return new ::FolderList(surface);
    case FileList:
        return new ::FileList(surface);
    }
    return nullptr;
}

// The platform's own colours where the design keeps them, not the window's.
QColor colourOrPlatform(std::uint32_t vbColour, QPalette::ColorRole role)
{
    return vbColour == platformColour ? QApplication::palette().color(role) : colour(vbColour);
}

void applyColours(QWidget *control, const Control &design)
{
    QPalette palette = control->palette();
    const bool textBox = design.kind == TextBox;
    const QPalette::ColorRole back = textBox ? QPalette::Base : QPalette::Window;
    const QPalette::ColorRole fore = textBox ? QPalette::Text : QPalette::WindowText;
    palette.setColor(back, colourOrPlatform(design.backColour, back));
    palette.setColor(fore, colourOrPlatform(design.foreColour, fore));
    control->setPalette(palette);
}

} // namespace

int pixels(int twips)
{
    return static_cast<int>(std::lround(twips / 15.0));
}

QColor colour(std::uint32_t vbColour)
{
    return QColor(int(vbColour & 0xff), int((vbColour >> 8) & 0xff), int((vbColour >> 16) & 0xff));
}

QFont font(const Font &design)
{
    QFont font(QString::fromUtf8(design.face));
    font.setPointSizeF(design.points);
    font.setBold(design.bold);
    font.setItalic(design.italic);
    return font;
}

QHash<QString, QWidget *> build(QWidget *surface)
{
    QHash<QString, QWidget *> byName;
    for (const Control &design : table) {
        QWidget *control = create(design, surface);
        control->setObjectName(QString::fromUtf8(design.name));
        control->setGeometry(pixels(design.left), pixels(design.top), pixels(design.width), pixels(design.height));
        control->setFont(font(design.font));
        applyColours(control, design);
        control->setVisible(design.visible);
        if (design.kind == Label || design.kind == PictureBox)
            control->setFocusPolicy(Qt::NoFocus);
        // The lists cover the banner: their whole rectangle is painted, also
        // where a scaled style's frame leaves part of its outer pixels bare.
        if (design.kind == DriveList || design.kind == FolderList || design.kind == FileList)
            control->setAutoFillBackground(true);
        if (design.accessibleName != nullptr) {
            control->setAccessibleName(QString::fromUtf8(design.accessibleName));
            // Qt on Linux calls a drop-down list by its entry; what the list
            // is for is then told as its description.
            if (design.kind == DriveList)
                control->setAccessibleDescription(control->accessibleName());
        }
        byName.insert(control->objectName(), control);
    }

    for (const Control &design : table) {
        if (design.promptFor != nullptr)
            static_cast<::Label *>(byName.value(QString::fromUtf8(design.name)))
                ->setPromptFor(byName.value(QString::fromUtf8(design.promptFor)));
    }

    // The focus moves through the controls that take it by tab index, the
    // table's own order.
    static_assert(std::ranges::is_sorted(table, {}, &Control::tabIndex));
    QWidget *previous = nullptr;
    for (const Control &design : table) {
        if (design.kind == Label || design.kind == PictureBox)
            continue;
        QWidget *control = byName.value(QString::fromUtf8(design.name));
        if (previous != nullptr)
            QWidget::setTabOrder(previous, control);
        previous = control;
    }

    // Raising from back to front leaves the first of the list in front.
    for (auto name = std::rbegin(stacking); name != std::rend(stacking); ++name)
        byName.value(QString::fromUtf8(*name))->raise();
    return byName;
}

} // namespace FormDesign
