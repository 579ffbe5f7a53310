#include "app/AppStart.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (!AppStart::prepare(app))
        return 1;
    return app.exec();
}
