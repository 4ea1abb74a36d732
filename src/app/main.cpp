#include "app/TFTabulon.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tabulon"));
    TFTabulon window;
    window.show();
    return app.exec();
}
