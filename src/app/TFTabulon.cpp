#include "app/TFTabulon.h"

TFTabulon::TFTabulon(QWidget* parent) : QMainWindow(parent)
{
    setWindowTitle(QStringLiteral("Tabulon"));
}
