#pragma once

#include <QMargins>
#include <QObject>
#include <QRect>
#include <QSize>

class QWidget;

// Every window as big as its content asks, but never beyond its screen's available area (what the
// taskbar leaves): at 150 % a 1080-line screen has 672 lines above the taskbar, fewer than some
// windows were drawn for. The content goes into a scroll area, the window can be resized, and each
// time it is shown it is sized and moved to lie inside that area.
class ScreenFit : public QObject {
    Q_OBJECT
public:
    // Call at the end of a window's constructor, once its content is built.
    static void apply(QWidget& window);
    // The frame geometry of a window whose frame wants `wanted` (content plus frame), centred on
    // `centre` and moved and shrunk to lie inside `available`.
    static QRect placed(QSize wanted, QPoint centre, const QRect& available);
    // The size the window's content asked for when apply() ran (invalid for other windows).
    static QSize wantedSize(const QWidget& window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    ScreenFit(QWidget& window, QSize wanted);
    void fit();
    // The native frame around the client area, or what a Windows frame takes when the window
    // system has not said yet.
    QMargins frameMargins() const;

    QWidget& m_window;
    QSize m_wanted;
    bool m_shown = false;
};
