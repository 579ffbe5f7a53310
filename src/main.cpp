#include "app/AppStart.h"
#include "app/FormSplash.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (!AppStart::prepare(app))
        return 1;

    auto* splash = new FormSplash;
    splash->setAttribute(Qt::WA_DeleteOnClose);
    // The client book and the working windows are wired here as their folders provide them.
    splash->loadClientBook = [] {};
    splash->mainOpeners = FormMainOpeners{};
    splash->show();
    return app.exec();
}
