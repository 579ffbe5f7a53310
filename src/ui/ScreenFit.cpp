#include "ui/ScreenFit.h"

#include <QEvent>
#include <QLayout>
#include <QMainWindow>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QVBoxLayout>
#include <QWindow>

namespace {
const char* const WantedProperty = "screenFitWanted";

QScrollArea* scrollArea(QWidget& window, QWidget* content) {
    auto* area = new QScrollArea(&window);
    area->setObjectName(window.objectName() + QStringLiteral("Scroll"));
    area->setFrameShape(QFrame::NoFrame);
    area->setWidgetResizable(true);
    area->setWidget(content);
    return area;
}
} // namespace

ScreenFit::ScreenFit(QWidget& window, QSize wanted) : QObject(&window), m_window(window), m_wanted(wanted) {}

void ScreenFit::apply(QWidget& window) {
    // What the window asks for as it was built: its layout's size, else the fixed size it was given.
    const QSize wanted = window.sizeHint().expandedTo(window.minimumSize());
    window.setProperty(WantedProperty, wanted);
    bool placedByHand = false;
    if (auto* main = qobject_cast<QMainWindow*>(&window)) {
        // The menu bar stays; the client scrolls.
        if (QWidget* central = main->takeCentralWidget())
            main->setCentralWidget(scrollArea(window, central));
    } else {
        auto* content = new QWidget;
        content->setObjectName(window.objectName() + QStringLiteral("Content"));
        QWidget* menu = nullptr;
        if (QLayout* old = window.layout()) {
            menu = old->menuBar();
            old->setMenuBar(nullptr);
            content->setLayout(old); // takes the layout off the window, with its widgets
        } else {
            // Placed by hand: the same places on a client of the window's size.
            placedByHand = true;
            for (QWidget* child : window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
                if (!child->isWindow())
                    child->setParent(content);
            content->setFixedSize(wanted);
        }
        auto* outer = new QVBoxLayout(&window);
        outer->setContentsMargins(0, 0, 0, 0);
        outer->setSpacing(0);
        if (menu)
            outer->setMenuBar(menu);
        outer->addWidget(scrollArea(window, content));
    }
    window.setMinimumSize(0, 0);
    // Larger than a hand-placed content the window would only show empty ground; the room of the
    // scroll bars is left for when it has to scroll.
    const int bar = window.style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    window.setMaximumSize(placedByHand ? wanted + QSize(bar, bar) : QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
    window.resize(wanted);
    window.installEventFilter(new ScreenFit(window, wanted));
}

QSize ScreenFit::wantedSize(const QWidget& window) {
    return window.property(WantedProperty).toSize();
}

QRect ScreenFit::placed(QSize wanted, QPoint centre, const QRect& available) {
    const QSize size = wanted.boundedTo(available.size());
    QRect r(QPoint(), size);
    r.moveCenter(centre);
    // Inside on every side: moved back from the right and bottom first, then from the left and top.
    r.moveRight(std::min(r.right(), available.right()));
    r.moveBottom(std::min(r.bottom(), available.bottom()));
    r.moveLeft(std::max(r.left(), available.left()));
    r.moveTop(std::max(r.top(), available.top()));
    return r;
}

bool ScreenFit::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &m_window && (event->type() == QEvent::Show || event->type() == QEvent::ScreenChangeInternal))
        fit();
    return QObject::eventFilter(watched, event);
}

QMargins ScreenFit::frameMargins() const {
    // A Windows 10 frame: the caption, and the invisible resizing borders.
    const QMargins guess(8, 31, 8, 8);
    const QWindow* handle = m_window.windowHandle();
    const QMargins told = handle ? handle->frameMargins() : QMargins();
    if (m_window.windowFlags() & Qt::FramelessWindowHint)
        return told;
    return QMargins(std::max(told.left(), guess.left()), std::max(told.top(), guess.top()),
                    std::max(told.right(), guess.right()), std::max(told.bottom(), guess.bottom()));
}

void ScreenFit::fit() {
    const QScreen* screen = m_window.screen();
    if (!screen)
        return;
    const QMargins frame = frameMargins();
    const QRect available = screen->availableGeometry();
    // Shown the first time: over the window it belongs to, else in the middle; later where it was.
    QPoint centre = available.center();
    if (m_shown)
        centre = m_window.frameGeometry().center();
    else if (const QWidget* parent = m_window.parentWidget(); parent && parent->window()->isVisible())
        centre = parent->window()->frameGeometry().center();
    m_shown = true;
    // Too tall, and the vertical scroll bar takes room from the width (and the other way round).
    QSize wanted = m_wanted;
    const QSize room = available.size().shrunkBy(frame);
    const int bar = m_window.style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    if (wanted.height() > room.height())
        wanted.rwidth() += bar;
    if (wanted.width() > room.width())
        wanted.rheight() += bar;
    const QRect outer = placed(wanted.grownBy(frame), centre, available);
    m_window.setGeometry(outer.marginsRemoved(frame));
}
