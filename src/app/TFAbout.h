#pragma once

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;

// The program's web site, opened by Help > Web site and by the About window's link.
inline constexpr char TabulonWebSite[] = "https://tabulon.example.org";

// Opens the program's web site in the default browser.
void OpenTabulonWebSite();

// The About window: version, picture, web site link and credits.
class TFAbout : public QDialog {
    Q_OBJECT
public:
    explicit TFAbout(QWidget* parent = nullptr);

    QLabel* LVersion;
    QLabel* IPicture;
    QLabel* LWebSite;
    QPlainTextEdit* MCredits;
    QPushButton* BOk;
};
