#pragma once

#include <QWidget>

// The working windows open modally over the main window and end only when they are closed:
// minimising one, or switching desktops, hides it for the moment and keeps it with its state.
namespace ModalWindow {

// Shows window application-modal and returns when it has been closed.
void run(QWidget& window);

// Makes the window afresh (with its openers, when it has any), runs it, and unloads it when it is
// closed.
template <typename Window, typename... Openers> void open(QWidget* parent, const Openers&... openers) {
    Window window(parent, openers...);
    if constexpr (requires { window.exec(); })
        window.exec();
    else
        run(window);
}

} // namespace ModalWindow
