#pragma once

#include <QDialog>

class ClientSession;
class QPushButton;

// Resigning the game: three levels and a way out. Every button closes the window.
class TFResign : public QDialog {
    Q_OBJECT
public:
    explicit TFResign(ClientSession& session, QWidget* parent = nullptr);

    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();

    QPushButton *Button1, *Button2, *Button3, *Button4;

private:
    void resign(const char* level);

    ClientSession& session_;
};
