// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class ClientArea;

// A window of the desktop: built with its controls' designed properties,
// then loaded, then shown.
//
// The controls stand on the form's surface, its client area as designed.
// The window opens at the designed client size; where the screen has less
// room than that, it opens as large as the screen allows, with its frame on
// the screen, and the surface scrolls.
class Form : public QWidget
{
    Q_OBJECT

public:
    explicit Form(QWidget *parent = nullptr);

    // Where the controls are built.
    QWidget *surface() const;

    // The designed size of the client area.
    void setClientSize(const QSize &size);

    // The load event: runs once, after every control exists and before the
    // window is first shown.
    virtual void load() {}

    // Loads the form, then shows it.
    void start();

    // Unloads the form: closes it. Closing the last window ends the program.
    void unload();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    enum class Placing { SizeOnly, Centre };
    void fitScreen(const QMargins &frame, Placing placing);

    ClientArea *m_clientArea;
    bool m_shown = false;
};
