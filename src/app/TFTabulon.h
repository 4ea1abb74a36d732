#pragma once

#include <QMainWindow>

class TFTabulon : public QMainWindow {
    Q_OBJECT
public:
    explicit TFTabulon(QWidget* parent = nullptr);
};
