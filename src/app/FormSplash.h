#pragma once

#include "app/FormMain.h"

#include <QPointer>
#include <QWidget>
#include <functional>

class QLabel;
class QTimer;

// The start-up window: two seconds on screen, then the client book, the administrator's
// message, the main window, and away.
class FormSplash : public QWidget {
    Q_OBJECT
public:
    explicit FormSplash(QWidget* parent = nullptr);

    QLabel* Label1;
    QTimer* Timer1;

    // Reads the client book from its file; the collection folder supplies it.
    std::function<void()> loadClientBook;
    // Handed to the main window when it is created.
    FormMainOpeners mainOpeners;

    void Timer1_Timer();

    // The main window this splash opened, if any.
    FormMain* mainWindow() const { return m_main; }

private:
    QPointer<FormMain> m_main;
};
