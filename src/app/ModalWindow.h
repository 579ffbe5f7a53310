#pragma once

#include <QWidget>

// The working windows open modally over the main window and end only when they are closed:
// minimising one, or switching desktops, hides it for the moment and keeps it with its state.
namespace ModalWindow {

// Shows window application-modal and returns when it has been closed.
void run(QWidget& window);

// Makes the window afresh, runs it, and unloads it when it is closed.
template <typename Window> void open(QWidget* parent) {
    Window window(parent);
    if constexpr (requires { window.exec(); })
        window.exec();
    else
        run(window);
}

} // namespace ModalWindow
